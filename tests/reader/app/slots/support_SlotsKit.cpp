// The menu toolkit's headless kit, linked into the slots screen's tests.
#include "Common/mui/support_MuiKit.cpp"
