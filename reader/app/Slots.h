// Settings slots: named copies of the display settings in the "Settings" folder, and the screen
// that saves, loads and deletes them.
#ifndef SLOTS_H
#define SLOTS_H

#define SLOTS_NUM 10
#define SLOTS_NAME_MAX 63  // characters of a slot's name

extern char slots_is_saving;                  // 1 save mode, 0 load mode; set before entering
extern char slots_name_str[SLOTS_NAME_MAX + 1];
extern char mc_buffer[1100];                  // the path of the last slot looked at

// The screen's boxes. Each row kind is created in slot order, so slot n's box is the first
// box's id + (n - 1).
extern int muiSlotsMainTitle, muiSlotsTitle;
extern int muiSlotsSlot1, muiSlotsSlot2, muiSlotsSlot3, muiSlotsSlot4, muiSlotsSlot5;
extern int muiSlotsSlot6, muiSlotsSlot7, muiSlotsSlot8, muiSlotsSlot9, muiSlotsSlot10;
extern int muiSlotsSaveLoad1, muiSlotsSaveLoad2, muiSlotsSaveLoad3, muiSlotsSaveLoad4;
extern int muiSlotsSaveLoad5, muiSlotsSaveLoad6, muiSlotsSaveLoad7, muiSlotsSaveLoad8;
extern int muiSlotsSaveLoad9, muiSlotsSaveLoad10;
extern int muiSlotsDel1, muiSlotsDel2, muiSlotsDel3, muiSlotsDel4, muiSlotsDel5;
extern int muiSlotsDel6, muiSlotsDel7, muiSlotsDel8, muiSlotsDel9, muiSlotsDel10;
extern int muiSlotsBack;

void CreateSlotsMuiBoxes();
void DoCreateSlotsMuiBoxes();
void CreateSlotsMuiBoxesNoRemove();
void SlotsControlStartingCB();

char SlotsDoesSlotExist(int slot);            // slot 0..9: its path into mc_buffer; 1 when the file exists
char SlotsReadSlot(int slot);                 // slot 0..9 into temp_config; 1 when valid
void SlotsUpdateButtons();
void SlotsUpdateFromLoadedTempConfig();       // the display settings of temp_config into config

void SlotsSaveLoadCB(int slot);
void SlotsDelCB(int slot);
void SlotsSaveLoad1CB(char part);
void SlotsSaveLoad2CB(char part);
void SlotsSaveLoad3CB(char part);
void SlotsSaveLoad4CB(char part);
void SlotsSaveLoad5CB(char part);
void SlotsSaveLoad6CB(char part);
void SlotsSaveLoad7CB(char part);
void SlotsSaveLoad8CB(char part);
void SlotsSaveLoad9CB(char part);
void SlotsSaveLoad10CB(char part);
void SlotsDel1CB(char part);
void SlotsDel2CB(char part);
void SlotsDel3CB(char part);
void SlotsDel4CB(char part);
void SlotsDel5CB(char part);
void SlotsDel6CB(char part);
void SlotsDel7CB(char part);
void SlotsDel8CB(char part);
void SlotsDel9CB(char part);
void SlotsDel10CB(char part);
void SlotsAfterSavePopup1CB(char result);
void SlotsAfterSavePopup2CB(char result);
void SlotsAfterLoadPopupCB(char result);
void SlotsAfterDeletePopupCB(char result);
void SlotsBackCB(char part);
void SlotsExitCB(char part);

#endif
