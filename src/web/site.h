// The addresses and account compiled into the program: it reads no configuration.
#pragma once

#include "text/text.h"

// The photo site: scheme and host, no trailing slash.
Text SiteBase();
// The messenger's online-status badge service: scheme and host, no trailing slash.
Text BadgeBase();
// The maker's messenger account, in decimal.
Text ContactAccount();

// The badge picture of ContactAccount.
inline Text BadgeAddress() { return BadgeBase() + "/pa?p=2:" + ContactAccount() + ":41"; }
