// Small utilities of the framework.
#include "ComMisc.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "ComDebug.h"
#include "ComGlMiscModes.h"
#include "ComMacWin.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// Truncates towards zero and steps away from zero only for a dropped fraction above 0.5; the
// result is kept inside the 32-bit range.
int32_t RoundTowardsZeroOnHalves(double v) {
  if (std::isnan(v)) return 0;
  double t = std::trunc(v);
  double frac = v - t;
  if (frac > 0.5) t += 1.0;
  else if (frac < -0.5) t -= 1.0;
  if (t >= (double)INT32_MAX) return INT32_MAX;
  if (t <= (double)INT32_MIN) return INT32_MIN;
  return (int32_t)t;
}

}  // namespace

// ---- Random numbers ----

float ComMiscRandFloat(float range, char randomSign) {
  float r = std::fabs(range);
  if (std::isnan(r)) return 0.0f;
  double k, step;
  if (r < 0.01f) k = 1000000.0, step = 1e-6;
  else if (r < 0.1f) k = 100000.0, step = 1e-5;
  else if (r < 1.0f) k = 10000.0, step = 1e-4;
  else if (r < 10.0f) k = 1000.0, step = 0.001;
  else if (r < 100.0f) k = 100.0, step = 0.01;
  else k = 1.0, step = 1.0;
  double cells = (double)r * k;
  if (!(cells < (double)INT_MAX)) cells = (double)INT_MAX;  // huge or non-finite ranges
  int n = (int)cells;
  if (n <= 0) return 0.0f;
  float value = (float)((double)(rand() % n) * step);
  if (value < 0.0f || value >= r) DebugError("ComMiscRandFloat", "Function not working properly");
  if (randomSign && (rand() % 2) == 0) value = -value;
  return value;
}

int ComMiscRandSign(void) { return (rand() % 2) ? 1 : -1; }

char ComMiscRandChance(int n) {
  if (n <= 0) return 0;
  return ((int64_t)rand() % ((int64_t)n + 1)) > 0 ? 1 : 0;
}

float ComMiscRandRangeFloat(float min, float max, char randomSign) {
  if (min >= max) return min;
  float v = min + ComMiscRandFloat(max - min, 0);
  if (randomSign && ComMiscRandChance(1)) v = -v;
  return v;
}

int ComMiscRandRangeInt(int min, int max, char randomSign) {
  if (min >= max) {
    if (randomSign && ComMiscRandChance(1) == 0) return (int)(-(int64_t)min);
    return min;
  }
  // The span of two ints needs 64 bits (max - min can exceed INT_MAX).
  int64_t span = (int64_t)max - (int64_t)min;
  int64_t v = (int64_t)min + (int64_t)rand() % span;
  if (randomSign && ComMiscRandChance(1) == 1) v = -v;
  return (int)v;
}

uint32_t ComMiscRandRangeULong(uint32_t min, uint32_t max) {
  if (min >= max) return min;
  return min + (uint32_t)((uint64_t)rand() % (uint64_t)(max - min));
}

// ---- Numbers ----

float ComMiscFabs(float v) { return v < 0.0f ? -v : v; }
double ComMiscDabs(double v) { return v < 0.0 ? -v : v; }
int ComMiscAbs(int v) { return v < 0 ? (v == INT_MIN ? INT_MAX : -v) : v; }

int32_t ComMiscRound(float v) { return RoundTowardsZeroOnHalves((double)v); }
int32_t ComMiscRoundLong(double v) { return RoundTowardsZeroOnHalves(v); }

int32_t ComMiscTicksSince(uint32_t now, uint32_t then) { return (int32_t)(now - then); }

char ComMiscSameSignFloat(float a, float b) {
  return ((a <= 0.0f && b <= 0.0f) || (a >= 0.0f && b >= 0.0f)) ? 1 : 0;
}

float* ComMiscKeepInRangeFloat(float* v, float min, float max) {
  if (!v) return nullptr;
  if (*v < min) *v = min;
  if (*v > max) *v = max;
  return v;
}

unsigned ComMiscGetClosestPowerOf2(unsigned n) {
  if (n < 2) return 2;
  // Up to 8192 the nearest power, a size of 1.5 P going up to 2 P.
  for (unsigned p = 4; p <= 8192; p <<= 1) {
    if (n < p + p / 2) return p;
  }
  // Above it the smallest power not below n, capped at 2^31 so every input ends.
  unsigned p = 16384;
  while (p < n && p < 0x80000000u) p <<= 1;
  return p;
}

// ---- Movement towards a target ----

char ComMiscChangeVariableAtSpeedToDesiredAmount(float* v, float target, float step) {
  if (!v) return 1;
  if (*v < target) {
    *v += step;
    if (*v > target) *v = target;
  } else if (*v > target) {
    *v -= step;
    if (*v < target) *v = target;
  }
  return *v == target ? 1 : 0;
}

namespace {

// The straight move of both vector moves; answers t (1 = arrived).
float MoveVector(_Vector3d* pos, _Vector3d* target, float step) {
  float dx = target->x - pos->x, dy = target->y - pos->y, dz = target->z - pos->z;
  float d = std::fabs(dx);
  if (std::fabs(dy) > d) d = std::fabs(dy);
  if (std::fabs(dz) > d) d = std::fabs(dz);
  if (d == 0.0f) return 1.0f;
  float t = (step <= d) ? step / d : 1.0f;
  pos->x += dx * t;
  pos->y += dy * t;
  pos->z += dz * t;
  return t;
}

}  // namespace

char ComMiscMoveVectorAtSpeed(_Vector3d* pos, _Vector3d* target, float step) {
  if (!pos || !target) return 0;
  return MoveVector(pos, target, step) == 1.0f ? 1 : 0;
}

char ComMiscMoveVectorAtSpeed2(_Vector3d* pos, _Vector3d* target, float step, float tolerance) {
  if (!pos || !target) return 0;
  return MoveVector(pos, target, step) >= 1.0f - tolerance ? 1 : 0;
}

float ComMiscThrobEffect(float* phase, float speed) {
  if (!phase) return 0.0f;
  *phase += 2.0f * speed;
  if (*phase >= (float)(4.0 * kPi)) *phase -= (float)(4.0 * kPi);
  else if (*phase < (float)(-2.0 * kPi)) *phase += (float)(4.0 * kPi);
  return (float)((std::sin(1.5 * kPi + (double)*phase) + 1.0) * 0.5);
}

float ComMiscSetupChangeVarFloat(uint32_t minPause, uint32_t maxPause, float minValue, float maxValue,
                                 char randomSign, char isAngle, float maxAngleStep, float minSpeed,
                                 float maxSpeed, char setRandomStart, _ComMiscChangeVarFloat* var) {
  if (!var) return 0.0f;
  if (isAngle && randomSign) DebugError("ComMiscSetupChangeVarFloat", "Sign and angle specified");
  if (!isAngle && maxAngleStep != 0.0f) DebugError("ComMiscSetupChangeVarFloat", "Parameter Error");
  var->min_pause = minPause;
  var->max_pause = maxPause;
  var->min_value = minValue;
  var->max_value = maxValue;
  var->random_sign = randomSign;
  var->is_angle = (float)isAngle;
  var->max_angle_step = maxAngleStep;
  var->min_speed = minSpeed;
  var->max_speed = maxSpeed;
  if (setRandomStart) var->value = ComMiscRandRangeFloat(minValue, maxValue, randomSign);
  var->next_change_time = 0;
  var->moving = 0;
  var->setup = 1;
  return var->value;
}

float ComMiscChangeVarFloatTick(_ComMiscChangeVarFloat* var) {
  if (!var) return 0.0f;
  if (var->setup != 1) {
    DebugError("ComMiscChangeVarFloatTick", "Var not setup");
    return 0.0f;
  }
  if (var->moving) {
    if (var->value < var->target) {
      var->value += var->speed * n3d_per_second;
      if (!(var->value < var->target)) var->moving = 0;
    } else if (var->value > var->target) {
      var->value -= var->speed * n3d_per_second;
      if (!(var->value > var->target)) var->moving = 0;
    } else {
      var->moving = 0;
    }
    return var->value;
  }
  const uint32_t now = (uint32_t)n3d_current_time;
  if (var->next_change_time == 0) {
    var->next_change_time = now + ComMiscRandRangeULong(var->min_pause, var->max_pause);
    return var->value;
  }
  if (ComMiscTicksSince(now, var->next_change_time) >= 0) {
    var->next_change_time = 0;
    const float two_pi = (float)(2.0 * kPi);
    if (var->is_angle != 0.0f && var->max_angle_step != 0.0f) {
      float target = var->value + ComMiscRandFloat(var->max_angle_step, 1);
      if (target < 0.0f) target += two_pi;
      if (target >= two_pi) target -= two_pi;
      ComMiscKeepInRangeFloat(&target, var->min_value, var->max_value);
      var->target = target;
    } else {
      var->target = ComMiscRandRangeFloat(var->min_value, var->max_value, var->random_sign);
    }
    if (var->is_angle != 0.0f) {
      if (var->target - var->value > (float)kPi) var->value += two_pi;
      else if (var->value - var->target > (float)kPi) var->value -= two_pi;
    }
    var->speed = ComMiscRandRangeFloat(var->min_speed, var->max_speed, 0);
    var->moving = 1;
  }
  return var->value;
}

// ---- 2D and vector geometry ----

float ComMiscGetSideOfLinePointIsOn2D(_Vector2d* p, _Vector2d* a, _Vector2d* b) {
  if (!p || !a || !b) return 0.0f;
  return (a->y - p->y) * (b->x - a->x) - (a->x - p->x) * (b->y - a->y);
}

float ComMiscGetSideOfLinePointIsOn2DXZ(_Vector3d* p, _Vector3d* a, _Vector3d* b) {
  if (!p || !a || !b) return 0.0f;
  return (a->z - p->z) * (b->x - a->x) - (a->x - p->x) * (b->z - a->z);
}

float ComMiscGetSideOfLinePointIsOn2DPerp(_Vector2d* p, _Vector2d* a, _Vector2d* b) {
  if (!p || !a || !b) return 0.0f;
  return (p->x - a->x) * (b->x - a->x) + (p->y - a->y) * (b->y - a->y);
}

float ComMiscGetSideOfLinePointIsOn2DPerpXZ(_Vector3d* p, _Vector3d* a, _Vector3d* b) {
  if (!p || !a || !b) return 0.0f;
  return (p->x - a->x) * (b->x - a->x) + (p->z - a->z) * (b->z - a->z);
}

_Vector3d* ComMiscNormaliseVector(_Vector3d* v) {
  if (!v) return nullptr;
  double len = std::sqrt((double)v->x * v->x + (double)v->y * v->y + (double)v->z * v->z);
  if (len != 0.0) {
    v->x = (float)(v->x / len);
    v->y = (float)(v->y / len);
    v->z = (float)(v->z / len);
  }
  return v;
}

void ComMiscNormaliseVector2(_Vector3d* out, _Vector3d* in) {
  if (!out || !in) return;
  double len = std::sqrt((double)in->x * in->x + (double)in->y * in->y + (double)in->z * in->z);
  if (len == 0.0) return;
  out->x = (float)(in->x / len);
  out->y = (float)(in->y / len);
  out->z = (float)(in->z / len);
}

// ---- Text, program, folders, dates ----

char* ComMiscStrIStr(const char* text, const char* find) {
  if (!text || !find || find[0] == 0) return nullptr;
  for (const char* t = text; *t; t++) {
    size_t i = 0;
    while (find[i] && t[i] &&
           toupper((unsigned char)t[i]) == toupper((unsigned char)find[i]))
      i++;
    if (find[i] == 0) return const_cast<char*>(t);
    if (t[i] == 0) return nullptr;  // the rest of the text is shorter than the search text
  }
  return nullptr;
}

char* ComMiscShowBinary(uint32_t value, int bits, char* out) {
  (void)value;
  (void)bits;
  DebugError("ComMiscShowBinary", "Not supported on MAC");
  if (out) snprintf(out, 14, "%s", "Not Supported");
  return out;
}

void ComMiscCloseProgram(char unused) {
  (void)unused;
  ComWinCloseProgram();
}

char ComMiscGetDesktopDirectory(char* buf, int size) { return ComMacMiscGetDesktopDirectory(buf, size); }

char ComMiscGetDocumentsDirectory(char* buf, int size) {
  return ComMacMiscGetDocumentsDirectory(buf, size);
}

char ComMiscGetApplicationsDirectory(char* buf, int size) {
  return ComMacMiscGetApplicationsDirectory(buf, size);
}

void ComMiscGetTodaysDate(int* year, int* month, int* day) {
  time_t now = time(nullptr);
  struct tm t;
  if (!localtime_r(&now, &t)) return;
  if (year) *year = t.tm_year + 1900;
  if (month) *month = t.tm_mon + 1;
  if (day) *day = t.tm_mday;
}

void ComMiscGetCurrentTime(int* hour, int* minute, int* second) {
  time_t now = time(nullptr);
  struct tm t;
  if (!localtime_r(&now, &t)) return;
  if (hour) *hour = t.tm_hour;
  if (minute) *minute = t.tm_min;
  if (second) *second = t.tm_sec;
}

void ComMiscGetPreviousDay(int* year, int* month, int* day) {
  if (!year || !month || !day) return;
  if (*year < 0 || *month < 1 || *month > 12 || *day < 1 || *day > 31) {
    DebugError("ComMiscGetPreviousDay", "Invalid date %04d:%02d:%02d", *year, *month, *day);
    return;
  }
  if (*day >= 2) {
    (*day)--;
    return;
  }
  switch (*month) {
    case 1:
      *year -= 1;
      *month = 12;
      *day = 31;
      break;
    case 2: case 4: case 6: case 8: case 9: case 11:
      *month -= 1;
      *day = 31;
      break;
    case 5: case 7: case 10: case 12:
      *month -= 1;
      *day = 30;
      break;
    case 3:
      *month = 2;
      *day = (*year % 4 == 0) ? 29 : 28;
      break;
  }
}
