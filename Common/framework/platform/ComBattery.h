// Battery state: the first battery among the computer's power sources, as a percentage with its
// charging state and whether the computer runs on battery power.
#ifndef COMBATTERY_H
#define COMBATTERY_H

struct _ComBatteryInfo {
  char has_battery;       // a power source reported a current capacity
  int max_capacity;       // as reported, never below 0
  int current_capacity;
  char charging;          // 1 while charging
  char on_battery_power;  // 1 on battery power, 0 on mains
  int percent;            // 0..100; -1 when the maximum capacity is 0; 100 when no battery
};

// Reads the power sources of /sys/class/power_supply.
char ComBatteryGetInfo(_ComBatteryInfo* info);
// The same over another power-supply folder (one sub-folder per source).
char ComBatteryGetInfoFromFolder(const char* folder, _ComBatteryInfo* info);

#endif
