#include "fuzz/fuzz_inputs.h"

#include "app/domain_option.h"
#include "app/memory_budget.h"
#include "gif/gif_frames.h"
#include "import/image_source.h"
#include "import/project_reader.h"

#include <wx/image.h>
#include <wx/log.h>
#include <wx/string.h>

#include <algorithm>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The bytes as a file in memory, reached by a path, since the readers take paths.
class MemoryFile {
public:
    MemoryFile(const uint8_t* data, size_t size)
        : m_fd(memfd_create("reelmont-input", MFD_CLOEXEC)) {
        while (m_fd >= 0 && size > 0) {
            const ssize_t written = write(m_fd, data, size);
            if (written <= 0) {
                break;
            }
            data += written;
            size -= static_cast<size_t>(written);
        }
    }
    ~MemoryFile() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    wxString Path() const { return wxString::Format("/proc/self/fd/%d", m_fd); }

private:
    int m_fd;
};

// The pixels of the screen a GIF file's frames are composed on, read from its bytes as the
// decoder takes it: the logical screen, or the first frame's size where that names none. The
// survey alone misses it when the first frame is cut short.
long long ScreenPixels(const uint8_t* data, size_t size) {
    const auto number = [data](size_t at) { return data[at] | data[at + 1] << 8; };
    if (size < 13) {
        return 0;
    }
    if (number(6) > 0 && number(8) > 0) {
        return static_cast<long long>(number(6)) * number(8);
    }
    size_t at = 13 + (data[10] & 0x80 ? 3 * (2 << (data[10] & 7)) : 0);
    while (at < size && data[at] == 0x21) {
        at += 2; // the extension's introducer and label, then its blocks
        while (at < size && data[at] != 0) {
            at += 1 + data[at];
        }
        ++at;
    }
    if (at + 9 > size || data[at] != 0x2C) {
        return 0;
    }
    return static_cast<long long>(number(at + 5)) * number(at + 7);
}

} // namespace

void ReadGifInput(const uint8_t* data, size_t size) {
    const MemoryFile file(data, size);
    // A budget keeps every input quick, as the picture reader's does: screens up to twice the
    // smallest whose frames come in parts are composed, larger legal ones (a GIF's sides reach
    // 65535) take a second each that finds nothing new.
    const wxSize surveyed = EstimateGifFrames(file.Path(), -1).size;
    if (std::max(static_cast<long long>(surveyed.x) * surveyed.y, ScreenPixels(data, size)) >
        2 * kPartScreenPixels) {
        return;
    }
    // Huge screens give their frames as the parts that changed, as the exporter takes them.
    DecodeGifFrames(
        file.Path(), -1, [](SourcePicture picture) { picture.image->GetData(); }, StopRequest(),
        nullptr, PictureParts::OfHugeScreens);
}

void ReadPictureInput(const uint8_t* data, size_t size) {
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) {
        wxInitAllImageHandlers();
    }
    const MemoryFile file(data, size);
    // A small budget keeps every input quick: pictures up to the pixel cap are valid, but
    // decoding one takes seconds that find nothing new.
    MemoryBudget& budget = MemoryBudget::Process();
    const std::uint64_t limit = budget.Limit();
    budget.SetLimit(budget.InUse() + (16ULL << 20));
    DecodeImageSource(
        file.Path(), [](SourcePicture picture) { picture.image->GetData(); }, StopRequest());
    budget.SetLimit(limit);
}

void ReadProjectInput(const uint8_t* data, size_t size) {
    const MemoryFile file(data, size);
    wxLogNull quiet;
    ReadProjectFile(file.Path());
}

void ReadOptionsInput(const uint8_t* data, size_t size) {
    const MemoryFile file(data, size);
    wxLogNull quiet;
    DomainOption options(file.Path());
    DomainOption* const previous = g_domainOption;
    g_domainOption = &options;
    LoadOptions();
    g_domainOption = previous;
}
