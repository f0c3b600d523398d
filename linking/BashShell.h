#pragma once

namespace Quorvane {

// Offers the bash plug-in's shell operations (init, exit, Execute, Result and Mode) for lookup
// under their signature texts; the start-up sequence calls it before it fills the table of entry
// points.
void RegisterBashShell();

} // namespace Quorvane
