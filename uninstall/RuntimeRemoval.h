// The media runtime's removal tool, for this program's client record.
#pragma once

// Runs "purgedxm.exe" from the system directory and waits for it. When it can't be
// started, says so; the uninstallation goes on either way.
void RunRuntimeRemoval();
