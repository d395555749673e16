// Resource ids of the uninstaller.
#pragma once

#define IDS_CAPTION_ERROR 201
#define IDS_CANT_DELETE_FILE 202
#define IDS_REMOVAL_NOT_STARTED 203
