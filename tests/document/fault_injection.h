// Faults to save into: a small file system filled to the brim, a folder that
// takes no new file, another user, and the leftovers a save must not leave.
//
// Most faults need root (mounting, the immutable flag, acting as another
// user). A fault test that cannot make its fault skips with SKIP_FAULT_TEST,
// which ctest shows as skipped; where the fault tests must run (.ci/run as
// root sets TSLE_REQUIRE_FAULT_TESTS) it fails instead. Test programs run in
// a mount namespace of their own where one can be made
// (scripts/private-mounts.sh), so what they mount goes with them.
#pragma once

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// Whether a fault test that cannot run here is a failure rather than a skip.
inline bool FaultTestsRequired() {
    const char* value = std::getenv("TSLE_REQUIRE_FAULT_TESTS");
    return value && *value && std::strcmp(value, "0") != 0;
}

// Ends a fault test that cannot make its fault here, saying why: skipped, or
// failed where fault tests are required. Call it from the test's body.
#define SKIP_FAULT_TEST(why)                                                                       \
    do {                                                                                           \
        if (FaultTestsRequired())                                                                  \
            FAIL() << "fault test cannot run here: " << (why);                                     \
        GTEST_SKIP() << (why);                                                                     \
    } while (false)

// A tmpfs of the given size mounted on dir for as long as the object lives.
// Mounting needs privileges; ok() is false (and why() says so) without them.
class SmallTmpfs {
public:
    SmallTmpfs(const std::string& dir, size_t bytes) : m_dir(dir) {
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        m_ok = ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options.c_str()) == 0;
        if (!m_ok)
            m_why = "cannot mount a small tmpfs here (" + std::string(std::strerror(errno)) + ")";
    }
    ~SmallTmpfs() {
        if (m_ok)
            ::umount2(m_dir.c_str(), MNT_DETACH);
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;
    bool ok() const { return m_ok; }
    const std::string& why() const { return m_why; }

private:
    std::string m_dir;
    bool m_ok = false;
    std::string m_why;
};

// Makes a folder refuse new files for as long as the object lives: by its
// mode for ordinary users; for root, whom modes do not stop, by mounting it
// again read-only, or else by the immutable flag. ok() is false when none of
// these is possible here.
class UnwritableDir {
public:
    explicit UnwritableDir(const std::string& dir) : m_path(dir) {
        if (::geteuid() != 0) {
            m_ok = ::chmod(m_path.c_str(), 0555) == 0;
            m_how = How::MODE;
            return;
        }
        if (::mount(m_path.c_str(), m_path.c_str(), nullptr, MS_BIND, nullptr) == 0) {
            m_ok = ::mount(nullptr, m_path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                           nullptr) == 0;
            m_how = How::MOUNT;
            return;
        }
        m_fd = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (m_fd >= 0 && ::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_ok = ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        m_how = How::FLAG;
    }
    ~UnwritableDir() {
        switch (m_how) {
        case How::MODE:
            ::chmod(m_path.c_str(), 0755);
            break;
        case How::MOUNT:
            ::umount2(m_path.c_str(), MNT_DETACH);
            break;
        case How::FLAG:
            if (m_fd >= 0) {
                int flags = 0;
                if (::ioctl(m_fd, FS_IOC_GETFLAGS, &flags) == 0) {
                    flags &= ~FS_IMMUTABLE_FL;
                    ::ioctl(m_fd, FS_IOC_SETFLAGS, &flags);
                }
                ::close(m_fd);
            }
            break;
        }
    }
    UnwritableDir(const UnwritableDir&) = delete;
    UnwritableDir& operator=(const UnwritableDir&) = delete;
    bool ok() const { return m_ok; }

private:
    enum class How { MODE, MOUNT, FLAG };
    std::string m_path;
    How m_how = How::MODE;
    int m_fd = -1;
    bool m_ok = false;
};

// Fills the file system that holds dir until no byte more fits.
inline void FillUp(const std::string& dir) {
    const int fd = ::open((dir + "/fill").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    char block[4096] = {};
    size_t size = sizeof block;
    while (size > 0) {
        if (::write(fd, block, size) < 0)
            size /= 2;
    }
    ::close(fd);
}

// The temporary files a save left in dir (names beginning with ".tsle-"),
// searched through its subfolders.
inline std::vector<std::string> LeftoverTemps(const std::string& dir) {
    std::vector<std::string> found;
    DIR* d = ::opendir(dir.c_str());
    if (!d)
        return found;
    while (const dirent* entry = ::readdir(d)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (name.rfind(".tsle-", 0) == 0)
            found.push_back(dir + "/" + name);
        if (entry->d_type == DT_DIR) {
            for (const std::string& inner : LeftoverTemps(dir + "/" + name))
                found.push_back(inner);
        }
    }
    ::closedir(d);
    return found;
}

constexpr uid_t NOBODY = 65534;
constexpr gid_t NOGROUP = 65534;
