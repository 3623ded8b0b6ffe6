// Faults to save into: a small file system filled to the brim, another user,
// and the leftovers a save must not leave.
#pragma once

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
