#pragma once

#include "framework/FileType.h"

// The system's one file type, "folders": what the logo's canvas accepts in drops.
namespace Quorvane::folder {

// The only lasting reference to the type: set at start-up, emptied at the end of the run.
extern Ref<FileType> pfolders;

// Makes the type "folders" (type code "folder", creator "*****", no extensions) and registers it.
void _Initialize();

// The type that pfolders holds; nothing before _Initialize and after the release.
Ref<FileType> folders();

// Empties pfolders, then lets go of the type, which withdraws its registration.
void pfolders__Exit();

} // namespace Quorvane::folder
