// The Load screen, where a book is chosen.
#ifndef LOAD_H
#define LOAD_H

void CreateLoadMuiBoxes();
void LoadControlStartingCB();

#endif
