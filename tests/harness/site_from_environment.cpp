// Test builds of the program take the site and badge address from PICORA_TEST_SERVER (set by
// tests/harness/with-server), so that every test can run its own server on its own port. The
// program itself links the compiled-in addresses and reads no environment.
#include <cstdlib>

#include "web/site.h"

namespace {

Text TestServer() {
    const char* address = std::getenv("PICORA_TEST_SERVER");
    return address != nullptr ? Text(address) : Text("http://127.0.0.1:8020");
}

}  // namespace

Text SiteBase() {
    return TestServer();
}
Text BadgeBase() {
    return TestServer();
}
Text ContactAccount() {
    return "10000";
}
