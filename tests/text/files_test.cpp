#include "text/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>

#include "text/wide.h"
#else
#include <signal.h>
#include <sys/resource.h>
#endif

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const Text& name) {
#ifdef _WIN32
    return fs::path(WideFromText(name));
#else
    return fs::path(name);
#endif
}

Text TextOf(const fs::path& path) {
#ifdef _WIN32
    return TextFromWide(path.wstring());
#else
    return path.string();
#endif
}

Bytes ReadAll(const Text& name) {
    std::ifstream in(PathOf(name), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class WriteBytesToFileTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("picora-files-" + std::to_string(testing::UnitTest::GetInstance()->random_seed()) +
                   testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    // A GBK name, so that the conversion of names is exercised too.
    Text Target() const { return TextOf(folder_) + kSeparator + "图片记录.ini"; }
    size_t FilesInFolder() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }

#ifdef _WIN32
    static constexpr const char* kSeparator = "\\";
#else
    static constexpr const char* kSeparator = "/";
#endif
    fs::path folder_;
};

TEST_F(WriteBytesToFileTest, CreatesAndReplacesContent) {
    const Bytes first{'a', 0, 'b', 0xB8, 0xFC};
    ASSERT_TRUE(WriteBytesToFile(Target(), first));
    EXPECT_EQ(ReadAll(Target()), first);

    const Bytes shorter{'z'};
    ASSERT_TRUE(WriteBytesToFile(Target(), shorter));
    EXPECT_EQ(ReadAll(Target()), shorter);
    EXPECT_EQ(FilesInFolder(), 1u) << "no temporary file may be left behind";
}

TEST_F(WriteBytesToFileTest, EmptyBufferMakesEmptyFileEmptyNameFails) {
    ASSERT_TRUE(WriteBytesToFile(Target(), Bytes{'o', 'l', 'd'}));
    EXPECT_TRUE(WriteBytesToFile(Target(), Bytes{}));
    EXPECT_TRUE(fs::exists(PathOf(Target())));
    EXPECT_EQ(fs::file_size(PathOf(Target())), 0u);
    EXPECT_FALSE(WriteBytesToFile("", Bytes{'x'}));
}

TEST_F(WriteBytesToFileTest, MissingFolderFails) {
    EXPECT_FALSE(WriteBytesToFile(TextOf(folder_) + kSeparator + "no-such-folder" + kSeparator + "f",
                                  Bytes{'x'}));
    EXPECT_EQ(FilesInFolder(), 0u);
}

#ifdef _WIN32
TEST_F(WriteBytesToFileTest, TargetHeldOpenWithoutSharingKeepsOldContent) {
    const Bytes old{'o', 'l', 'd'};
    ASSERT_TRUE(WriteBytesToFile(Target(), old));
    HANDLE held = CreateFileW(PathOf(Target()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteBytesToFile(Target(), Bytes{'n', 'e', 'w'}));
    CloseHandle(held);
    EXPECT_EQ(ReadAll(Target()), old);
    EXPECT_EQ(FilesInFolder(), 1u);
}
#else
TEST_F(WriteBytesToFileTest, WriteFailingPartWayKeepsOldContent) {
    // A file-size limit makes the write fail after its first bytes, as a full disk would.
    const Bytes old(3000, 'o');
    ASSERT_TRUE(WriteBytesToFile(Target(), old));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto savedHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = WriteBytesToFile(Target(), Bytes(100000, 'n'));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, savedHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadAll(Target()), old);
    EXPECT_EQ(FilesInFolder(), 1u);
}
#endif

TEST(RunDirectory, IsTheExecutablesFolderWithoutTrailingSeparator) {
    Text folder = RunDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    EXPECT_NE(folder.back(), '/');
#ifdef _WIN32
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    EXPECT_EQ(PathOf(folder), fs::path(exe).parent_path());
#else
    EXPECT_EQ(fs::path(folder), fs::read_symlink("/proc/self/exe").parent_path());
#endif
}

}  // namespace
