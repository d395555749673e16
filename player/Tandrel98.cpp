// The player's one application object; the framework's entry point starts it.
#include "NTandrelApp.h"

CNTandrelApp theApp;
