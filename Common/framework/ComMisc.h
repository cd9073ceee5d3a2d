// Small utilities of the framework: random numbers, rounding with its fixed tie rule, clamping,
// values moving towards a target, 2D side-of-line tests, the power-of-two texture side, a
// case-insensitive search, the user's folders and calendar steps.
#ifndef COM_MISC_H
#define COM_MISC_H

#include <cstdint>

struct _Vector3d {
  float x, y, z;
};

struct _Vector2d {
  float x, y;
};

// A randomly wandering float, owned by the caller.
struct _ComMiscChangeVarFloat {
  char setup;
  uint32_t min_pause;  // milliseconds before each new target
  uint32_t max_pause;
  float min_value;
  float max_value;
  char random_sign;
  float is_angle;        // 1.0 when the value is an angle in radians
  float max_angle_step;  // for angles: largest random change of target
  float min_speed;       // units per second
  float max_speed;
  float value;
  char moving;
  uint32_t next_change_time;  // on the frame clock n3d_current_time; 0 = not yet chosen
  float speed;
  float target;
};

// Random numbers (the standard rand generator, seeded once at start).
float ComMiscRandFloat(float range, char randomSign);
int ComMiscRandSign(void);
char ComMiscRandChance(int n);
float ComMiscRandRangeFloat(float min, float max, char randomSign);
int ComMiscRandRangeInt(int min, int max, char randomSign);
uint32_t ComMiscRandRangeULong(uint32_t min, uint32_t max);

// Numbers. The rounding moves away from zero only for a fraction above 0.5 (2.5 gives 2).
float ComMiscFabs(float v);
double ComMiscDabs(double v);
int ComMiscAbs(int v);
int32_t ComMiscRound(float v);
int32_t ComMiscRoundLong(double v);
char ComMiscSameSignFloat(float a, float b);
float* ComMiscKeepInRangeFloat(float* v, float min, float max);
unsigned ComMiscGetClosestPowerOf2(unsigned n);

// Milliseconds from `then` to `now` on a millisecond clock that wraps at 32 bits (the tick count,
// the frame clock): negative while now is still before then, right across the wrap.
int32_t ComMiscTicksSince(uint32_t now, uint32_t then);

// Movement towards a target.
char ComMiscChangeVariableAtSpeedToDesiredAmount(float* v, float target, float step);
char ComMiscMoveVectorAtSpeed(_Vector3d* pos, _Vector3d* target, float step);
char ComMiscMoveVectorAtSpeed2(_Vector3d* pos, _Vector3d* target, float step, float tolerance);
float ComMiscThrobEffect(float* phase, float speed);
float ComMiscSetupChangeVarFloat(uint32_t minPause, uint32_t maxPause, float minValue, float maxValue,
                                 char randomSign, char isAngle, float maxAngleStep, float minSpeed,
                                 float maxSpeed, char setRandomStart, _ComMiscChangeVarFloat* var);
float ComMiscChangeVarFloatTick(_ComMiscChangeVarFloat* var);

// 2D and vector geometry.
float ComMiscGetSideOfLinePointIsOn2D(_Vector2d* p, _Vector2d* a, _Vector2d* b);
float ComMiscGetSideOfLinePointIsOn2DXZ(_Vector3d* p, _Vector3d* a, _Vector3d* b);
float ComMiscGetSideOfLinePointIsOn2DPerp(_Vector2d* p, _Vector2d* a, _Vector2d* b);
float ComMiscGetSideOfLinePointIsOn2DPerpXZ(_Vector3d* p, _Vector3d* a, _Vector3d* b);
_Vector3d* ComMiscNormaliseVector(_Vector3d* v);
void ComMiscNormaliseVector2(_Vector3d* out, _Vector3d* in);

// Text, program, folders, dates.
char* ComMiscStrIStr(const char* text, const char* find);
char* ComMiscShowBinary(uint32_t value, int bits, char* out);  // out holds at least 14 bytes
void ComMiscCloseProgram(char unused);
char ComMiscGetDesktopDirectory(char* buf, int size);
char ComMiscGetDocumentsDirectory(char* buf, int size);
char ComMiscGetApplicationsDirectory(char* buf, int size);
void ComMiscGetTodaysDate(int* year, int* month, int* day);
void ComMiscGetCurrentTime(int* hour, int* minute, int* second);
void ComMiscGetPreviousDay(int* year, int* month, int* day);

#endif
