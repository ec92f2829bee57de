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

} // namespace corvane
