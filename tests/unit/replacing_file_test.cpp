// Replacing a file safely: what takes the target's place, what is refused (a device stands for
// every other kind), and what a killed writer leaves behind.
#include "export/replacing_file.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(ReplacingFile, ReplacesWhatTheTargetLeadsToKeepingModeAndOwnerAndRefusesOtherKinds) {
    struct Case {
        const char* setUp;   // what the folder holds before; "t" is the target's name
        const char* error;   // empty when the write succeeds
        const char* written; // the file that holds "new" afterwards
        mode_t mode;
    };
    const mode_t mask = umask(022);
    umask(mask);
    const Case cases[] = {
        {"", "", "t", 0666 & ~mask},
        {"file 0600", "", "t", 0600},
        {"file 0640, t -> sub/f", "", "sub/f", 0640},
        {"file 0604, t -> l2 -> sub/f", "", "sub/f", 0604},
        {"t -> sub/missing", "", "sub/missing", 0666 & ~mask},
        {"t -> /dev/null", "it is not a regular file", "", 0},
        {"folder", "it is a folder", "", 0},
        {"t -> t", "Too many levels of symbolic links", "", 0},
        // In a folder like /tmp a link is followed only where the system would follow it.
        {"file 0600, sticky, t -> sub/f", "", "sub/f", 0600},
        {"file 0600, sticky, t -> sub/f of nobody", "it is a link of another user", "", 0},
        {"file 0600, sticky of nobody, t -> sub/f of nobody", "", "sub/f", 0600},
        {"file 0600, t -> sub/f of nobody", "", "sub/f", 0600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setUp);
        TempFolder folder;
        const std::string setUp = c.setUp;
        const wxString target = folder.File("t");
        wxMkdir(folder.File("sub"));
        const wxString file =
            setUp.find("sub/f") != std::string::npos ? folder.File("sub/f") : target;
        if (setUp.rfind("file", 0) == 0) {
            WriteBytes(file, "old");
            chmod(file.fn_str(), std::stoi(setUp.substr(5, 4), nullptr, 8));
        }
        if (setUp.find("l2") != std::string::npos) {
            symlink("l2", target.fn_str());
            symlink("sub/f", folder.File("l2").fn_str());
        } else if (setUp.find("->") != std::string::npos) {
            std::string to = setUp.substr(setUp.find("->") + 3);
            to = to.substr(0, to.find(" of "));
            symlink(to.c_str(), target.fn_str());
        }
        if (setUp == "folder") {
            wxMkdir(target);
        }
        const bool others = setUp.find("of nobody") != std::string::npos;
        if (others && geteuid() != 0) {
            continue; // only the superuser can give a link to another user
        }
        if (setUp.find("t -> sub/f of nobody") != std::string::npos) {
            ASSERT_EQ(lchown(target.fn_str(), 65534, 65534), 0);
        }
        if (setUp.find("sticky") != std::string::npos) {
            chmod(folder.Path().fn_str(), 01777);
        }
        if (setUp.find("sticky of nobody") != std::string::npos) {
            ASSERT_EQ(chown(folder.Path().fn_str(), 65534, 65534), 0);
        }
        const bool rootOwnsOthers = geteuid() == 0 && setUp.rfind("file", 0) == 0;
        if (rootOwnsOthers) {
            ASSERT_EQ(chown(file.fn_str(), 65534, 65534), 0);
        }
        const std::string before = FilesIn(folder.Path());
        wxString error;
        const bool written = ReplaceFileWith(target, "new", 3, &error);

        EXPECT_EQ(written, std::string(c.error).empty());
        EXPECT_TRUE(error.StartsWith(c.error)) << error;
        if (!written) {
            EXPECT_EQ(FilesIn(folder.Path()), before);
            continue;
        }
        const wxString result = folder.File(c.written);
        EXPECT_EQ(ReadBytes(result), "new");
        struct stat status;
        ASSERT_EQ(stat(result.fn_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, c.mode);
        if (rootOwnsOthers) {
            EXPECT_EQ(status.st_uid, 65534u);
            EXPECT_EQ(status.st_gid, 65534u);
        }
        struct stat link;
        ASSERT_EQ(lstat(target.fn_str(), &link), 0);
        EXPECT_EQ(S_ISLNK(link.st_mode), setUp.find("->") != std::string::npos);
        EXPECT_EQ(FilesIn(folder.Path()), before.empty() ? target.ToStdString() : before);
    }
}

TEST(ReplacingFile, AWriterKilledHalfWayLeavesTheOldFileAndNothingBesideIt) {
    TempFolder folder;
    const wxString target = WriteBytes(folder.File("anim.gif"), "old");
    const std::string big(1 << 20, 'x');
    const pid_t child = fork();
    if (child == 0) {
        ReplacingFile file(target);
        if (file.Open() && file.Write(big.data(), big.size())) {
            raise(SIGKILL);
        }
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_EQ(FilesIn(folder.Path()), target);

    // What killed writers left without unnamed files goes with the next write, once their
    // process is gone.
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const auto hidden = [&](pid_t pid) {
        return WriteBytes(folder.File(wxString::Format(".reelmont-%s-%d-7.tmp", host, pid)), "");
    };
    hidden(child);
    const wxString running = hidden(getpid());
    wxString error;
    ASSERT_TRUE(ReplaceFileWith(target, "new", 3, &error)) << error;
    EXPECT_EQ(FilesIn(folder.Path()), running + " " + target);
}
