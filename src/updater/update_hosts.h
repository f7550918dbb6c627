// Build-time constants: the backup update server, used when the user picks "备用服务器".
// The main server's addresses come from the installed "\Upsetting.ini".
#pragma once

#define VARNIC_BACKUP_UPDATE_SERVER "http://backup.varnic.example"

namespace varnic {

inline constexpr char kBackupVersionUrl[] = VARNIC_BACKUP_UPDATE_SERVER "/update/vr.ini";
inline constexpr char kBackupProgramUrl[] = VARNIC_BACKUP_UPDATE_SERVER "/update/kelvo.exe";

}  // namespace varnic
