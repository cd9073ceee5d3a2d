// A doubly linked list of fixed-size elements. Data blocks are malloc'ed (a block handed over by
// ComLListAddP must come from malloc too) and freed by the list.
#include "ComLList.h"

#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "ComDebug.h"

namespace {

int cll_num_lists_created = 0;

bool IsSetUp(const _ComLList* list) { return list && list->setup == 1; }

int32_t DoAdd(_ComLList* list, const void* copy, void** pointer, char makeCurrent, int32_t size,
              const char* func) {
  if (!ComLListIsListOk(list)) return -1;
  if (copy && pointer) {
    DebugError(func, "Parameters not ok");
    return -1;
  }
  if (size != list->element_size) {
    DebugError(func, "Size not ok");
    return -1;
  }
  _ComLListNode* node = static_cast<_ComLListNode*>(malloc(sizeof(_ComLListNode)));
  if (!node) {
    DebugError(func, "No memory for list entry");
    return -1;
  }
  node->prev = nullptr;
  node->next = nullptr;
  node->data = nullptr;
  if (copy) {
    node->data = malloc((size_t)list->element_size);
    if (!node->data) {
      free(node);
      DebugError(func, "No memory for element data");
      return -1;
    }
    memcpy(node->data, copy, (size_t)list->element_size);
  } else if (pointer) {
    node->data = *pointer;
  }
  // No data given at all: an element without data.

  if (list->tail) {
    list->tail->next = node;
    node->prev = list->tail;
    list->tail = node;
  } else {
    list->head = list->tail = node;
  }
  list->count++;
  if (!list->current) {
    list->current = list->head;
    list->current_index = 0;
  }
  if (makeCurrent) ComLListSetCurrentPos(list, list->count - 1);
  return list->count - 1;
}

// The node at index, walking from the head; null when a link is missing.
_ComLListNode* Walk(_ComLList* list, int32_t index) {
  _ComLListNode* n = list->head;
  for (int32_t i = 0; i < index && n; i++) n = n->next;
  return n;
}

}  // namespace

char ComLListCreate(_ComLList* list, int32_t size) {
  if (!list) return 0;
  memset(list, 0, sizeof(*list));
  if (size <= 0) {
    DebugError("ComLListCreate", "Bad element size [%d]", (int)size);
    return 0;
  }
  list->element_size = size;
  list->setup = 1;
  cll_num_lists_created++;
  return 1;
}

char ComLListIsListOk(_ComLList* list) {
  if (!list) {
    DebugError("ComLListIsListOk", "List not ok");
    return 0;
  }
  if (list->setup != 1) {
    DebugError("ComLListIsListOk", "List not setup");
    return 0;
  }
  bool ok = true;
  if (list->head) {
    if (!list->tail || list->head->prev || list->tail->next) ok = false;
  } else if (list->tail) {
    ok = false;
  }
  if (ok) {
    if (list->count < 0) {
      ok = false;
    } else if (list->count == 0) {
      if (list->head || list->tail) ok = false;
    } else {
      if (!list->head) ok = false;
      else if (list->count == 1 && list->head != list->tail) ok = false;
      else if (list->count >= 2 && (!list->head->next || !list->tail->prev)) ok = false;
      if (ok && (!list->current || list->current_index < 0 || list->current_index >= list->count))
        ok = false;
    }
  }
  if (!ok) {
    DebugError("ComLListIsListOk", "List not ok");
    return 0;
  }
  return 1;
}

int32_t ComLListAdd(_ComLList* list, const void* data, char makeCurrent, int32_t size) {
  return DoAdd(list, data, nullptr, makeCurrent, size, "ComLListAdd");
}

int32_t ComLListAddP(_ComLList* list, void** data, char makeCurrent, int32_t size) {
  return DoAdd(list, nullptr, data, makeCurrent, size, "ComLListAddP");
}

char ComLListSetCurrentPos(_ComLList* list, int32_t index) {
  if (!ComLListIsListOk(list)) return 0;
  // A failed move keeps the current element, so the list stays consistent.
  if (index < 0 || index >= list->count) {
    DebugError("ComLListSetCurrentPos", "Bad pos [max = %d]", (int)list->count);
    return 0;
  }
  _ComLListNode* n = Walk(list, index);
  if (!n) {
    DebugError("ComLListSetCurrentPos", "List problem");
    return 0;
  }
  list->current = n;
  list->current_index = index;
  return 1;
}

int32_t ComLListGetNumElements(_ComLList* list) {
  if (!ComLListIsListOk(list)) return 0;
  return list->count;
}

_ComLListNode* ComLListGetElement(_ComLList* list, int32_t index) {
  if (!ComLListIsListOk(list)) return nullptr;
  if (index < 0 || index >= list->count) {
    DebugError("ComLListGetElement", "Bad index %d [max = %d]", (int)index, (int)list->count);
    return nullptr;
  }
  _ComLListNode* n = list->head;
  for (int32_t i = 0; i < index; i++) {
    if (!n) break;
    n = n->next;
  }
  if (!n) {
    if (index > 0)
      DebugError("ComLListGetElement", "List problem");
    else
      DebugError("ComLListGetElement", "No element at index %d", (int)index);
    return nullptr;
  }
  return n;
}

void* ComLListGetElementData(_ComLList* list, int32_t index, int32_t size) {
  if (!ComLListIsListOk(list)) return nullptr;
  if (size != list->element_size) {
    DebugError("ComLListGetElementData", "Size not ok");
    return nullptr;
  }
  _ComLListNode* n = ComLListGetElement(list, index);
  if (!n) return nullptr;
  if (!n->data) {
    DebugError("ComLListGetElementData", "No data at index %d", (int)index);
    return nullptr;
  }
  return n->data;
}

char ComLListCopyElementData(_ComLList* list, int32_t index, int32_t size, void* out) {
  if (!ComLListIsListOk(list)) return 0;
  if (!out) {
    DebugError("ComLListCopyElementData", "Bad Parameters");
    return 0;
  }
  if (size != list->element_size) {
    DebugError("ComLListCopyElementData", "Size not ok");
    return 0;
  }
  _ComLListNode* n = ComLListGetElement(list, index);
  if (!n) return 0;
  if (!n->data) {
    DebugError("ComLListCopyElementData", "No data at index %d", (int)index);
    return 0;
  }
  memcpy(out, n->data, (size_t)list->element_size);
  return 1;
}

char ComLListOverwriteData(_ComLList* list, int32_t index, const void* data, int32_t size) {
  if (!ComLListIsListOk(list)) return 0;
  if (!data) {
    DebugError("ComLListOverwriteData", "No data passed in");
    return 0;
  }
  if (size != list->element_size) {
    DebugError("ComLListOverwriteData", "Size not ok");
    return 0;
  }
  _ComLListNode* n = ComLListGetElement(list, index);
  if (!n) return 0;
  if (!n->data) {
    DebugError("ComLListOverwriteData", "No data at index %d", (int)index);
    return 0;
  }
  memcpy(n->data, data, (size_t)list->element_size);
  return 1;
}

char ComLListDoesEntryDataExist(_ComLList* list, const void* data, int32_t size, int* index) {
  if (!ComLListIsListOk(list)) return 0;
  if (!data) return 0;
  if (size != list->element_size) {
    DebugError("ComLListDoesEntryDataExist", "Size not ok");
    return 0;
  }
  int32_t i = 0;
  for (_ComLListNode* n = list->head; n; n = n->next, i++) {
    if (i >= list->count) {
      DebugError("ComLListDoesEntryDataExist", "Checked too many");
      return 0;
    }
    if (n->data && memcmp(n->data, data, (size_t)list->element_size) == 0) {
      if (index) *index = i;
      return 1;
    }
  }
  return 0;
}

char ComLListReleaseAll(_ComLList* list) {
  if (!list) {
    DebugError("ComLListReleaseAll", "List not ok");
    return 0;
  }
  if (list->setup != 1) {
    DebugError("ComLListReleaseAll", "List not setup");
    return 0;
  }
  // Every node reachable from the head, the tail or the current element is freed exactly once,
  // even in a list that fails the check (a link loop or a wrong count must neither hang nor
  // leak nor free twice).
  const bool consistent = ComLListIsListOk(list) != 0;
  std::unordered_set<_ComLListNode*> nodes;
  for (_ComLListNode* n = list->head; n && nodes.insert(n).second;) n = n->next;
  std::unordered_set<_ComLListNode*> backwards;
  for (_ComLListNode* n = list->tail; n && backwards.insert(n).second; n = n->prev) nodes.insert(n);
  if (list->current) nodes.insert(list->current);
  const bool too_many = nodes.size() > (size_t)(list->count < 0 ? 0 : list->count);
  for (_ComLListNode* n : nodes) {
    free(n->data);
    free(n);
  }
  list->count = 0;
  list->head = list->tail = list->current = nullptr;
  list->current_index = -1;
  if (too_many) {
    DebugError("ComLListReleaseAll", "Freed too many");
    return 0;
  }
  return consistent ? 1 : 0;
}

void ComLListDestroy(_ComLList* list) {
  if (!IsSetUp(list)) {
    DebugError("ComLListDestroy", "List not created");
    return;
  }
  ComLListReleaseAll(list);
  memset(list, 0, sizeof(*list));
  cll_num_lists_created--;
  if (cll_num_lists_created < 0)
    DebugError("ComLListDestroy", "More lists exited than created [%d]", cll_num_lists_created);
}

char ComLListExit(void) {
  if (cll_num_lists_created > 0) {
    DebugError("ComLListExit", "%d list(s) not destroyed", cll_num_lists_created);
    return 0;
  }
  if (cll_num_lists_created < 0) {
    DebugError("ComLListExit", "More lists exited than created [%d]", cll_num_lists_created);
    return 0;
  }
  return 1;
}
