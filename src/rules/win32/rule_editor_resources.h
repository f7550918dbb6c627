// Resource ids of the rule editor's button pictures (icons in apps/kelvo/kelvo.rc).
#pragma once

#define IDI_RULE_SAVE 30
#define IDI_RULE_CLOSE 31
#define IDI_RULE_RESTORE 32
