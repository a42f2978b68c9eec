// Taking a web address apart by plain text operations: no validation, no escaping, and no
// scheme known but "http://" and "https://". Every input gives a result.
#pragma once

#include "text/text.h"

// The host in lower case. domainOnly keeps the last two dot-separated labels; withPort keeps a
// ":port" that follows the host. "" for an empty address.
Text UrlHost(const Text& address, bool domainOnly = false, bool withPort = false);

// The explicit port, else 443 for an address starting with "https" (any case), else 80. An
// explicit port without digits ("p.q:/") gives 0.
int UrlPort(const Text& address);

// The object path from the first "/" after the host to the end, query and fragment included,
// letter case kept; "/" when there is none.
Text UrlPath(const Text& address);
