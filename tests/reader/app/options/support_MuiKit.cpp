// The menu toolkit's headless kit, shared with the toolkit's own tests.
#include "../../../Common/mui/support_MuiKit.cpp"
