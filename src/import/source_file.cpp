#include "import/source_file.h"

#include "video/video_time.h"

#include <wx/intl.h>
#include <wx/log.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

SourceProblem CheckSourceFile(const wxString& path) {
    SourceProblem problem;
    const wxCharBuffer name = path.fn_str();
    struct stat status;
    if (name.length() == 0 || stat(name, &status) != 0) {
        problem.error = name.length() == 0 ? ENOENT : errno;
        problem.fault = problem.error == ENOENT || problem.error == ENOTDIR
                            ? SourceFault::Missing
                            : SourceFault::Unreadable;
    } else if (S_ISDIR(status.st_mode)) {
        problem.fault = SourceFault::Folder;
    } else if (!S_ISREG(status.st_mode)) {
        problem.fault = SourceFault::NotRegular;
    } else if (access(name, R_OK) != 0) {
        problem.fault = SourceFault::Unreadable;
        problem.error = errno;
    }
    return problem;
}

wxString DescribeSourceProblem(const SourceProblem& problem) {
    switch (problem.fault) {
    case SourceFault::None:
        break;
    case SourceFault::Missing:
        return _("no such file");
    case SourceFault::Folder:
        return _("it is a folder");
    case SourceFault::NotRegular:
        return _("it is not a regular file");
    case SourceFault::Unreadable:
        return wxSysErrorMsgStr(static_cast<unsigned long>(problem.error));
    case SourceFault::TooLarge:
        return wxString::Format(_("its picture of %llu x %llu pixels is larger than the program "
                                  "takes"),
                                problem.width, problem.height);
    case SourceFault::NoMemory:
        return _("its frames would take more memory than this computer can spare");
    case SourceFault::Damaged:
        if (problem.stoppedAt >= 0) {
            return wxString::Format(_("it is damaged or cut off at %s"),
                                    FormatVideoTime(problem.stoppedAt));
        }
        return _("it is damaged");
    case SourceFault::NoPicture:
        return _("it holds no picture that can be read");
    case SourceFault::NoVideo:
        return _("it holds no video");
    }
    return wxString();
}
