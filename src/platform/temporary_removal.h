#pragma once
// Temporary files that hold configuration data go when the program is done with them, also
// when a termination signal ends it; what a run that was killed outright left behind is removed
// by the next run that makes one.
#include <string>

namespace qvr {

// Every temporary file of the programs' starts with this in the temporary folder.
inline constexpr char kTemporaryFilePrefix[] = "qvrctl-";

// Keeps `path` (a temporary file just made) on the list of files to remove and marks it as in
// use; a file already on the list (CreateTemporaryFile lists its files itself where it can)
// stays as it is. The first use in a run also removes the files of runs that were killed (the
// current user's, unused and not touched for a minute) from the same folder.
void TrackTemporaryFile(const std::string& path);

// Removes `path` and takes it off the list.
void RemoveTemporaryFile(const std::string& path);

// Removes every file on the list; safe inside a signal handler.
void RemoveTrackedFilesNow();

}  // namespace qvr
