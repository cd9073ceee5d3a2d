// Settings slots: named copies of the display settings in the "Settings" folder.
#ifndef SLOTS_H
#define SLOTS_H

char SlotsReadSlot(int slot);                 // slot 0..9 into temp_config; 1 when valid
void SlotsUpdateFromLoadedTempConfig();       // the display settings of temp_config into config
void CreateSlotsMuiBoxes();
void SlotsControlStartingCB();

#endif
