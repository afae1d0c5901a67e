// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzCheck.h"

#include <cstdlib>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string g_folder;

void RemoveScratchFolder() {
    if (g_folder.empty())
        return;
    if (DIR* dir = ::opendir(g_folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                ::unlink((g_folder + "/" + name).c_str());
        }
        ::closedir(dir);
    }
    ::rmdir(g_folder.c_str());
}

} // namespace

const std::string& ScratchFolder() {
    if (g_folder.empty()) {
        struct stat st {};
        const bool shm =
            ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && ::access("/dev/shm", W_OK) == 0;
        std::string pattern = std::string(shm ? "/dev/shm" : "/tmp") + "/tabulon-fuzz-XXXXXX";
        FUZZ_CHECK(::mkdtemp(pattern.data()) != nullptr, "cannot make a scratch folder");
        g_folder = pattern;
        std::atexit(RemoveScratchFolder);
    }
    return g_folder;
}
