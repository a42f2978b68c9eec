#include <fcntl.h>
#include <sys/stat.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "text/files.h"

namespace {

bool WriteAll(int fd, const Bytes& data) {
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

Text FolderOf(const Text& path) {
    size_t slash = path.rfind('/');
    if (slash == Text::npos) return ".";
    return slash == 0 ? Text("/") : path.substr(0, slash);
}

}  // namespace

bool WriteBytesToFile(const Text& fileName, const Bytes& data) {
    if (fileName.empty()) return false;

    Text temporary = FolderOf(fileName) + "/.picXXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd >= 0) {
        bool ok = fchmod(fd, 0644) == 0 && WriteAll(fd, data) && fsync(fd) == 0;
        ok = close(fd) == 0 && ok;
        ok = ok && rename(temporary.c_str(), fileName.c_str()) == 0;
        if (!ok) unlink(temporary.c_str());
        return ok;
    }

    // No new file can be made beside the target: write in place.
    fd = open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, data);
    return close(fd) == 0 && ok;
}

Text RunDirectory() {
    static const Text folder = [] {
        char path[PATH_MAX] = {};
        ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
        if (n <= 0) return Text();
        Text exe(path, static_cast<size_t>(n));
        size_t slash = exe.rfind('/');
        return slash == 0 || slash == Text::npos ? Text() : exe.substr(0, slash);
    }();
    return folder;
}
