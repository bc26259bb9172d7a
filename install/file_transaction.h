// The copy phase of an install: new files go into the install folder all or nothing. They are
// staged in the job's ".glsetup-new-…" folder, flushed and read back, then swapped in one by one
// with each old file moved aside into its ".glsetup-old-…" folder first; a journal of the swaps
// lets a failure put everything back. Each stage can be run on its own; the install job runs them
// in order.
#pragma once

#include "install_result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gls {

struct PlannedFile {
    std::string name; // UTF-8, '/' separators, as in the payload
    std::wstring stagedPath;
    std::wstring finalPath;
    const unsigned char* data = nullptr;
    std::uint64_t size = 0;
};

// One undoable step of the swap, appended in the order they were taken.
struct JournalEntry {
    enum class Step {
        Placed,     // a new file went to finalPath, the entry there (if any) to asidePath first
        TakenAside, // an old version's entry in a new one's way went from finalPath to asidePath
        MadeFolder, // finalPath is a folder the swap made for a new file
    };
    Step step = Step::Placed;
    std::wstring finalPath;
    std::wstring asidePath;
    bool movedAside = false;      // an entry stood at finalPath and went to asidePath
    unsigned long attributes = 0; // that entry's attributes, given back with it
};

struct CopyPhase {
    std::wstring installDir;
    std::wstring stagingDir;
    std::wstring oldFilesDir;
    std::vector<std::string> installedNames; // what the installed version's uninstaller lists
    std::vector<PlannedFile> files;
    std::uint64_t totalBytes = 0;
    std::vector<JournalEntry> journal;
    std::vector<std::wstring> takenOut; // the installed version's files taken out after the swap
};

// Probe the folder, name the job's work folders, clear what runs that ended left, and learn the
// installed version's files. False with the result filled when the folder cannot be written.
[[nodiscard]] bool prepareFolder(CopyPhase& phase, InstallResult& result);

// Adds a file to the plan; false when its name cannot become a path.
bool planFile(CopyPhase& phase, const std::string& name, const unsigned char* data, std::uint64_t size);

// Writes every planned file into the staging folder (progress 0 to 0.75).
[[nodiscard]] bool stageFiles(CopyPhase& phase, const ProgressCallback& progress, InstallResult& result);

// Reads every staged file back and compares it (progress 0.8).
[[nodiscard]] bool verifyStaged(CopyPhase& phase, const ProgressCallback& progress, InstallResult& result);

// Moves each old file aside and the new one in place, journalled (progress 0.88). First the
// installed version's own entries that stand where a new file or folder must go are taken aside;
// when anything else stands there, or a link lies on the way to a new file or in its place,
// nothing is changed and the result names it. On failure
// everything swapped so far is put back, attributes included.
[[nodiscard]] bool swapFiles(CopyPhase& phase, const ProgressCallback& progress, InstallResult& result);

// Undoes every journalled swap, last first. False when some old file could not be put back;
// the old-files folder is then kept.
[[nodiscard]] bool rollBack(const std::vector<JournalEntry>& journal, const std::wstring& stagingDir,
                            const std::wstring& installDir, const std::wstring& oldFilesDir);

// Moves the files the installed version had and this one has not into the old-files folder,
// never through a link: a name whose path below the install folder passes one is left and logged.
void takeOutOldFiles(CopyPhase& phase);

// Deletes both work folders, then the folders that held only what was taken out. No other folder
// is touched: an empty one may be the user's.
void cleanUp(const CopyPhase& phase);

} // namespace gls
