// Every text of the cleaning rules, named once: the rules' names and the rule editor's
// captions, help note and messages.
#pragma once

#include <string_view>

#include "base/text_table.h"

namespace varnic {

enum class RuleText {
    kAllRule,  // the rules' names, in rule-index order
    kSmallGameRule,
    kLargeGameRule,
    kBtRule,
    kEditorCaption,
    kChooseRule,
    kDetails,
    kProcessTrigger,
    kProcessChangesBefore,  // the row reads: before [changes] after
    kProcessChangesAfter,
    kTimedTrigger,
    kMinutesBefore,  // before [minutes] after
    kMinutesAfter,
    kSave,
    kClose,
    kRestoreDefaults,
    kHelpNote,  // lines ended by CR LF
    kNotAPositiveNumber,
    kRestored,
    kCannotSave,  // {1}: the files not written, one a line
    kSaved,       // {1}: the rule's name
    kCount
};

std::string_view Text(RuleText name, Language language);

}  // namespace varnic
