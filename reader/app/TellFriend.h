// The tell-a-friend form: a recommendation sent to the maker's web server as one GET request,
// whose two-byte answer is reported to the user.
#ifndef TELL_FRIEND_H
#define TELL_FRIEND_H

#include <cstdint>

struct ComMacGuiCommand;

extern char tf_url[300];  // the script's URL
extern int tf_game_id;    // 1 to 9 an entry of the form's list, other values the last; 0 not set
// The form's fields after escaping: room for every raw byte escaped as three.
extern char tf_fr_name[241];
extern char tf_fr_email[241];
extern char tf_your_name[241];
extern char tf_your_email[241];
extern char tf_message[1534];
extern char tf_str[512];  // a field's raw text

void TellFriendSetScriptUrl(char* url);
void TellFriendSetGameToRecommend(int id);
char TellFriendDoDialog();
void TellFriendConvertArg(char* text, char* out, int out_size);
int32_t TellFriendMainEH(void* call_ref, ComMacGuiCommand* event, void* user_data);

#endif
