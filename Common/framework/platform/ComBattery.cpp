// Battery state from the kernel's power-supply class: each sub-folder of the power-supply folder
// is one source; the first one of type "Battery" that is not a peripheral's (scope "Device") and
// reports a capacity is the computer's battery.
#include "ComBattery.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ComFile.h"
#include "ComMisc.h"

namespace {

const char* const kPowerSupplyFolder = "/sys/class/power_supply";

// Reads the first line of folder/name (at most 255 bytes), without its line end. 0 when absent.
char ReadAttribute(const std::string& folder, const char* name, char* out, size_t len) {
  std::string path = folder + "/" + name;
  FILE* f = static_cast<FILE*>(ComFileOpenForReadingIfExists(path.c_str()));
  if (!f) return 0;
  size_t n = fread(out, 1, len - 1, f);
  ComFileClose(f);
  out[n] = 0;
  char* end = strpbrk(out, "\r\n");
  if (end) *end = 0;
  return 1;
}

// An integer attribute; 0 when absent, 1 read, -1 present but unreadable.
int ReadIntAttribute(const std::string& folder, const char* name, long long* value) {
  char text[256];
  if (!ReadAttribute(folder, name, text, sizeof(text))) return 0;
  char* end = nullptr;
  errno = 0;
  long long v = strtoll(text, &end, 10);
  if (end == text || errno != 0) return -1;
  *value = v;
  return 1;
}

int ClampToInt(long long v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return (int)v;
}

}  // namespace

char ComBatteryGetInfo(_ComBatteryInfo* info) {
  return ComBatteryGetInfoFromFolder(kPowerSupplyFolder, info);
}

char ComBatteryGetInfoFromFolder(const char* folder, _ComBatteryInfo* info) {
  if (!info) return 0;
  memset(info, 0, sizeof(*info));
  std::vector<std::string> names;
  if (folder) {
    if (DIR* dir = opendir(folder)) {
      while (dirent* e = readdir(dir))
        if (e->d_name[0] != '.') names.push_back(e->d_name);
      closedir(dir);
    }
  }
  std::sort(names.begin(), names.end());
  // Whether the computer is on mains: any online mains adapter says so; without one, a
  // discharging battery means battery power.
  char any_mains = 0, mains_online = 0;
  for (const std::string& name : names) {
    std::string src = std::string(folder) + "/" + name;
    char type[256];
    if (!ReadAttribute(src, "type", type, sizeof(type)) || strcmp(type, "Mains") != 0) continue;
    long long online = 0;
    any_mains = 1;
    if (ReadIntAttribute(src, "online", &online) == 1 && online) mains_online = 1;
  }
  long long max_capacity = 100, current = 100;
  for (const std::string& name : names) {
    std::string src = std::string(folder) + "/" + name;
    char type[256], scope[256], status[256];
    if (!ReadAttribute(src, "type", type, sizeof(type)) || strcmp(type, "Battery") != 0) continue;
    // A mouse's or a keyboard's battery is no guide to the computer's.
    if (ReadAttribute(src, "scope", scope, sizeof(scope)) && strcmp(scope, "Device") == 0) continue;
    // The capacity as a maximum and a current amount: energy, else charge, else the percentage.
    long long full = 0, now = 0;
    int has_full = 0, has_now = 0;
    static const char* const kPairs[][2] = {
        {"energy_full", "energy_now"}, {"charge_full", "charge_now"}};
    for (auto& pair : kPairs) {
      has_now = ReadIntAttribute(src, pair[1], &now);
      if (has_now != 0) {
        has_full = ReadIntAttribute(src, pair[0], &full);
        break;
      }
    }
    if (has_now == 0) {
      has_now = ReadIntAttribute(src, "capacity", &now);
      if (has_now != 0) {
        full = 100;
        has_full = 1;
      }
    }
    if (has_now == 0) continue;  // no current capacity: not a reading
    info->has_battery = 1;
    max_capacity = has_full == 1 ? full : 100;
    current = has_now == 1 ? now : 100;
    if (ReadAttribute(src, "status", status, sizeof(status))) {
      info->charging = strcmp(status, "Charging") == 0;
      if (strcmp(status, "Discharging") == 0)
        info->on_battery_power = 1;
      else if (strcmp(status, "Charging") == 0 || strcmp(status, "Full") == 0 ||
               strcmp(status, "Not charging") == 0)
        info->on_battery_power = 0;
    }
    if (any_mains) info->on_battery_power = !mains_online;
    break;
  }
  if (!info->has_battery) {
    info->percent = 100;
    return 0;
  }
  if (max_capacity < 0) max_capacity = 0;
  if (current < 0) current = 0;
  info->max_capacity = ClampToInt(max_capacity);
  info->current_capacity = ClampToInt(current);
  if (max_capacity == 0) {
    info->percent = -1;
  } else {
    int p = ComMiscRound((float)((double)current * 100.0 / (double)max_capacity));
    info->percent = p < 0 ? 0 : (p > 100 ? 100 : p);
  }
  return 1;
}
