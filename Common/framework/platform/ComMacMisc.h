// The user's standard folders, folders inside the preferences folder, path references, the
// user name, the system version and the language-text placeholders.
#ifndef COM_MAC_MISC_H
#define COM_MAC_MISC_H

// A file reference: on this platform the absolute path itself.
struct FSRef {
  char path[1024];
};
struct FSSpec {
  char path[1024];
};

char ComMacMiscGetPreferencesFolder(char* out, int len);
char ComMacMiscGetPreferencesSubFolder(char* name, char* out, int len, char create);
char ComMacMiscGetPreferencesSubSubFolder(char* main, char* sub, char* out, int len,
                                          char create_main, char create_sub);
char ComMacMiscGetDesktopDirectory(char* out, int len);
char ComMacMiscGetDocumentsDirectory(char* out, int len);
char ComMacMiscGetApplicationsDirectory(char* out, int len);
char ComMacMiscGetTempFolder(char* out, int len, char create);
// The resource folder beside the executable ("<exe folder>/Resources"); 0 when unknown.
char ComMacMiscGetResourceFolder(char* out, int len);

char ComMacMiscPathToFSRef(const char* path, FSRef* out);
char ComMacMiscPathToFSSpec(const char* path, FSSpec* out, char quiet);
char ComMacMiscGetUserName(char* out, int len);
long ComMacMiscGetOsxVersion();

const char* LT(unsigned id);
const char* LangGetScriptTextPointer(unsigned id);

#endif
