// The menu toolkit's headless kit, for the popup that asks before going online.
#include "Common/mui/support_MuiKit.cpp"
