// This process and the others on the machine: what the atomic writer names its temporary files
// by, and what tells a running copy's hot-key signal file from one a killed copy left behind.
#pragma once

#include <string>

namespace store {

long CurrentProcessId();

// True while a process of that id runs; one this user may not signal counts as running.
bool ProcessRunning(long pid);

// The machine's name as the system gives it (UTF-8); empty when it gives none.
std::string HostName();

} // namespace store
