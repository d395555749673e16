// Fetching a media address into the local cache, for an engine that cannot open addresses.
#pragma once

#include <windows.h>

// Fetches pszUrl into the cache and puts the local file's path into pszLocal, while a
// dialog shows the progress and offers Cancel. S_OK when the whole media arrived; a
// failure when the service failed, the user cancelled (E_ABORT) or the server sent
// nothing for too long (HRESULT_FROM_WIN32(ERROR_TIMEOUT)).
HRESULT DownloadWithProgress(const char* pszUrl, char* pszLocal, int cchLocal);
