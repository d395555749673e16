// Resource ids of the media runtime's setup and removal tool.
#pragma once

#define IDS_CAPTION 100
#define IDS_NO_DIRECTSHOW 101
#define IDS_NO_CLIENT 102
#define IDS_TOOL_NOT_COPIED 103
