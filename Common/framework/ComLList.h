// A doubly linked list of fixed-size elements with a current position. Every operation checks the
// list first; a global count of lists alive lets the shut-down report lists never destroyed.
#ifndef COM_LLIST_H
#define COM_LLIST_H

#include <cstdint>

struct _ComLListNode {
  _ComLListNode* prev;
  _ComLListNode* next;
  void* data;  // element_size bytes owned by the list, or null
};

struct _ComLList {
  char setup;  // 1 after ComLListCreate
  int32_t element_size;
  int32_t count;
  _ComLListNode* head;
  _ComLListNode* tail;
  _ComLListNode* current;
  int32_t current_index;  // -1 after a release
};

char ComLListCreate(_ComLList* list, int32_t size);
char ComLListIsListOk(_ComLList* list);
int32_t ComLListAdd(_ComLList* list, const void* data, char makeCurrent, int32_t size);  // index or -1
int32_t ComLListAddP(_ComLList* list, void** data, char makeCurrent, int32_t size);      // takes *data
char ComLListSetCurrentPos(_ComLList* list, int32_t index);
int32_t ComLListGetNumElements(_ComLList* list);
_ComLListNode* ComLListGetElement(_ComLList* list, int32_t index);
void* ComLListGetElementData(_ComLList* list, int32_t index, int32_t size);
char ComLListCopyElementData(_ComLList* list, int32_t index, int32_t size, void* out);
char ComLListOverwriteData(_ComLList* list, int32_t index, const void* data, int32_t size);
char ComLListDoesEntryDataExist(_ComLList* list, const void* data, int32_t size, int* index);
char ComLListReleaseAll(_ComLList* list);
void ComLListDestroy(_ComLList* list);
char ComLListExit(void);

#endif
