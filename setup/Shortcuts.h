// The two shortcuts "Tandrel98.lnk", on the Start Menu and on the desktop. Both open the
// install directory's folder window; neither starts the player.
#pragma once

// Writes one shell link file at pszLinkPath that points at pszTarget. Nothing else is set
// on the link. Failures leave no link and are not reported.
void CreateShortcut(const char* pszLinkPath, const char* pszTarget);
void CreateStartMenuShortcut(const char* pszInstallDir);
void CreateDesktopShortcut(const char* pszInstallDir);
