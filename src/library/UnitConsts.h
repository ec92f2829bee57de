#pragma once
// The reply library's folder, file and key names; its messages are with the
// program's other texts.
#include "library/Texts.h"

namespace corvane {

inline constexpr const char* kLibraryFolder = "Replies";
inline constexpr const char* kIndexFileName = "index.sub";
inline constexpr const char* kReplyExtension = ".rep";
inline constexpr const char* kFolderPrefix = "FOLDER_";
inline constexpr const char* kReplyPrefix = "REPLY_";

// Files and directories named cvn*.tmp in a library folder are the program's
// own temporaries: a write through a temporary file (see
// IFileSystem::WriteFileReplacing), a folder being copied, the move record.
inline constexpr const char* kTempPrefix = "cvn";
inline constexpr const char* kTempExtension = ".tmp";
inline constexpr const char* kMoveRecordName = "cvnmove.tmp";

} // namespace corvane
