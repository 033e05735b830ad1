// Whether frame sources exist, looked up by their UTF-8 bytes: a project may list a million
// paths of which few exist, so no path is converted for the look-up, each folder is opened once
// for the run of paths in it (a folder that is gone holds no file), and a long run reads the
// folder's names once instead of asking about each file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

class SourceLookup {
public:
    SourceLookup();
    ~SourceLookup();
    SourceLookup(const SourceLookup&) = delete;
    SourceLookup& operator=(const SourceLookup&) = delete;

    // True when `path` names a regular file, symbolic links followed, as wxFileExists says.
    bool Exists(std::string_view path);

private:
    void OpenFolder(std::string_view folder);
    bool ListFolder(size_t mostNames);
    bool ExistsInFolder();

    bool m_namesAreUtf8; // the file system's names are the UTF-8 bytes themselves
    std::string m_folder;
    bool m_folderKnown = false;
    int m_folderFd = -1;      // -1 when the folder could not be opened
    size_t m_lookups = 0;     // in this folder
    size_t m_nextListing = 0; // the look-up at which the folder's names are read next
    bool m_listed = false;
    // The folder's names that may be regular files; true where the type is known to be one.
    std::unordered_map<std::string, bool> m_names;
    std::string m_name; // the file name looked up, kept for its storage
};
