#include "import/still_file.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {
// The end marker of a file that was written whole lies within this many bytes of its end.
const size_t kTailBytes = 4096;
// The bytes of a BMP's headers that say where its rows start and how they are stored.
const size_t kBmpHeaderBytes = 34;

bool EndsWhole(const StillFile& file, const std::string& tail, unsigned long long fileSize) {
    const PictureHeader& header = file.header;
    switch (header.kind) {
    case PictureKind::Png:
        return tail.find("IEND") != std::string::npos;
    case PictureKind::Jpeg:
        return tail.find("\xFF\xD9") != std::string::npos;
    case PictureKind::Bmp: {
        if (file.start.size() < kBmpHeaderBytes) {
            return false;
        }
        const unsigned char* start = file.start.data();
        const unsigned long long offset = start[10] | start[11] << 8 | start[12] << 16 |
                                          static_cast<unsigned long long>(start[13]) << 24;
        const unsigned bits = start[28] | start[29] << 8;
        const unsigned compression = start[30] | start[31] << 8;
        if (compression != 0 && compression != 3) {
            return true; // run-length data has no length to compare with
        }
        const unsigned long long row = (header.width * bits + 31) / 32 * 4;
        return fileSize >= offset + row * header.height;
    }
    default:
        // The other kinds have no end of their own to look for.
        break;
    }
    return true;
}
} // namespace

bool StartsAsGif(const unsigned char* data, size_t size) {
    return size >= 6 &&
           (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
}

bool StillFile::IsGif() const {
    return StartsAsGif(start.data(), start.size());
}

StillFile ReadStillFile(const wxString& path) {
    StillFile file;
    FILE* stream = std::fopen(path.fn_str(), "rb");
    if (stream == nullptr) {
        return file;
    }
    file.opened = true;
    struct stat status;
    const bool sized = fstat(fileno(stream), &status) == 0;
    const unsigned long long fileSize = sized ? static_cast<unsigned long long>(status.st_size) : 0;
    // Asking for no more than the file holds ends the read in one call.
    file.start.resize(sized && fileSize < kPictureHeaderBytes ? fileSize : kPictureHeaderBytes);
    file.start.resize(std::fread(file.start.data(), 1, file.start.size(), stream));
    file.whole = sized && file.start.size() == fileSize;
    file.header = ParsePictureHeader(file.start.data(), file.start.size(), stream);
    std::string tail;
    if (file.whole) {
        const size_t from = fileSize > kTailBytes ? fileSize - kTailBytes : 0;
        tail.assign(file.start.begin() + static_cast<long>(from), file.start.end());
    } else if (sized) {
        const long long from =
            fileSize > kTailBytes ? static_cast<long long>(fileSize - kTailBytes) : 0;
        tail.resize(kTailBytes);
        tail.resize(fseeko(stream, static_cast<off_t>(from), SEEK_SET) == 0
                        ? std::fread(&tail[0], 1, tail.size(), stream)
                        : 0);
    }
    std::fclose(stream);
    file.endsWhole = EndsWhole(file, tail, fileSize);
    return file;
}
