// Replacing a file of a folder so that it holds its old content or its new
// one, never a mix and never nothing: the new content goes to a temporary
// file of the same folder, is synced and checked to have its full size, and
// is renamed over the file; then the folder is synced. Card saves, backup and
// restore copies and installed prompts all replace files this way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "FileSystem.h"

namespace quorvel {

// A kind of temporary file: `prefix`, five lower-case letters or digits and
// `suffix`. Every kind is a short 8.3 name. A FAT folder keeps a long name in
// extra entries, and FAT drivers served through FUSE mangle those entries when
// renames move them across the folder's clusters: stray names appear on the card.
struct TemporaryKind {
    std::string_view prefix;
    std::string_view suffix;
};

// Card files being saved, files being copied, prompts being converted.
inline constexpr TemporaryKind kCardTemporary{"qvs", ".tmp"};
inline constexpr TemporaryKind kCopyTemporary{"qvc", ".tmp"};
inline constexpr TemporaryKind kPromptTemporary{"qvp", ".wav"};

// A synced file held fewer bytes than were written to it.
inline constexpr int kShortFile = -1;

// The new content of one file, in a temporary file beside it.
struct Replacement {
    std::string target;
    std::string temporary;
    int handle = -1;
    unsigned mode = 0;          // the target's bits, or the umask's for a new file
    std::uint64_t written = 0;  // the size the file must have
};

// The folder of `path`, ending with a separator; "./" for a bare name.
std::string folderOf(const std::string& path);

// Creates the temporary file for `target` in `folder` (ending with a separator).
int beginReplacement(FileSystem& fileSystem, const std::string& folder, const std::string& target, TemporaryKind kind,
                     Replacement& replacement);
// Takes a temporary file already written by someone else, such as a converted prompt.
int adoptReplacement(FileSystem& fileSystem, const std::string& temporary, const std::string& target,
                     Replacement& replacement);
int writeReplacement(FileSystem& fileSystem, Replacement& replacement, const char* data, std::size_t size);
// Gives the file its mode where the file system can set modes, and starts
// writing its data to the medium.
int sealReplacement(FileSystem& fileSystem, Replacement& replacement);
// Syncs the file, checks its size and closes it.
int finishReplacement(FileSystem& fileSystem, Replacement& replacement);
int renameReplacement(FileSystem& fileSystem, Replacement& replacement);
// Closes and removes the temporary file, whatever its state.
void discardReplacement(FileSystem& fileSystem, Replacement& replacement);

// Syncs the renames made in `folder`; a file system without folder syncs is not an error.
int syncReplacedFolder(FileSystem& fileSystem, const std::string& folder);

// Every step for one file that someone else wrote into `temporary`: on
// failure the temporary file is removed and `target` keeps its content.
int installReplacement(FileSystem& fileSystem, const std::string& temporary, const std::string& target);
// Every step for one file of `folder` given as bytes, the folder's sync left to
// the caller: on failure no temporary file is left and `target` keeps its content.
int replaceWithBytes(FileSystem& fileSystem, const std::string& folder, const std::string& target, TemporaryKind kind,
                     const char* data, std::size_t size);

// A name of one of the temporary kinds above, or of the hidden long-named
// kinds earlier releases made, exactly.
bool isLeftoverTemporaryName(std::string_view name);
// Removes the plain files of `folder` whose names are of a temporary kind,
// left by a run that was killed; nothing else. Failures are ignored.
void removeLeftoverTemporaries(FileSystem& fileSystem, const std::string& folder);

}  // namespace quorvel
