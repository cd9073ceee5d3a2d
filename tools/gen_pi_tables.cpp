// Writes Blowfish's initial P-array and S-boxes as a C++ source: the fractional hexadecimal digits
// of pi, 8 to a word, 18 words of P followed by 4 x 256 words of S. Pi is computed here with
// Machin's formula, pi = 16 atan(1/5) - 4 atan(1/239), in fixed-point integer arithmetic, so the
// tables come from the number itself rather than from a typed-in list.
// Usage: gen_pi_tables OUTPUT_FILE
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kPWords = 18;
constexpr int kSWords = 4 * 256;
constexpr int kWantedWords = kPWords + kSWords;
// Two words of guard below the last digit wanted: every division truncates, and the rounding
// errors of the several thousand series terms stay far below 2^64.
constexpr int kGuardWords = 2;

// A fixed-point number: word 0 is the integer part, words 1.. the fraction, most significant first.
using Fixed = std::vector<uint32_t>;

void DivideSmall(Fixed& a, uint32_t d) {
  uint64_t rem = 0;
  for (uint32_t& w : a) {
    uint64_t cur = (rem << 32) | w;
    w = (uint32_t)(cur / d);
    rem = cur % d;
  }
}

void MultiplySmall(Fixed& a, uint32_t m) {
  uint64_t carry = 0;
  for (size_t i = a.size(); i-- > 0;) {
    uint64_t cur = (uint64_t)a[i] * m + carry;
    a[i] = (uint32_t)cur;
    carry = cur >> 32;
  }
}

void Add(Fixed& a, const Fixed& b) {
  uint64_t carry = 0;
  for (size_t i = a.size(); i-- > 0;) {
    uint64_t cur = (uint64_t)a[i] + b[i] + carry;
    a[i] = (uint32_t)cur;
    carry = cur >> 32;
  }
}

// Wraps modulo the width; the partial sums of the series are never negative.
void Subtract(Fixed& a, const Fixed& b) {
  uint64_t borrow = 0;
  for (size_t i = a.size(); i-- > 0;) {
    uint64_t sub = (uint64_t)b[i] + borrow;
    borrow = a[i] < sub ? 1 : 0;
    a[i] = (uint32_t)((uint64_t)a[i] - sub);
  }
}

bool IsZero(const Fixed& a) {
  for (uint32_t w : a)
    if (w) return false;
  return true;
}

// atan(1/x) = 1/x - 1/(3 x^3) + 1/(5 x^5) - ...
Fixed ArctanInverse(uint32_t x, size_t words) {
  Fixed sum(words, 0), power(words, 0), term(words, 0);
  power[0] = 1;
  DivideSmall(power, x);
  const uint32_t x2 = x * x;
  for (uint32_t k = 0; !IsZero(power); k++) {
    term = power;
    DivideSmall(term, 2 * k + 1);
    if (k % 2 == 0)
      Add(sum, term);
    else
      Subtract(sum, term);
    DivideSmall(power, x2);
  }
  return sum;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: gen_pi_tables OUTPUT_FILE\n");
    return 2;
  }
  const size_t words = 1 + kWantedWords + kGuardWords;
  Fixed pi = ArctanInverse(5, words);
  MultiplySmall(pi, 16);
  Fixed b = ArctanInverse(239, words);
  MultiplySmall(b, 4);
  Subtract(pi, b);
  if (pi[0] != 3) {
    fprintf(stderr, "gen_pi_tables: pi came out with integer part %u\n", pi[0]);
    return 1;
  }

  FILE* out = fopen(argv[1], "w");
  if (!out) {
    perror(argv[1]);
    return 1;
  }
  fprintf(out,
          "// Generated at build time by tools/gen_pi_tables from the hexadecimal digits of pi.\n"
          "#include \"ComEncryption.h\"\n\n"
          "const uint32_t ORIG_P[18] = {");
  const uint32_t* digits = &pi[1];
  for (int i = 0; i < kPWords; i++) fprintf(out, "%s0x%08X,", i % 6 ? " " : "\n    ", digits[i]);
  fprintf(out, "\n};\n\nconst uint32_t ORIG_S[4][256] = {");
  for (int box = 0; box < 4; box++) {
    fprintf(out, "\n  {");
    for (int i = 0; i < 256; i++)
      fprintf(out, "%s0x%08X,", i % 6 ? " " : "\n    ", digits[kPWords + box * 256 + i]);
    fprintf(out, "\n  },");
  }
  fprintf(out, "\n};\n");
  if (fclose(out) != 0) {
    perror(argv[1]);
    return 1;
  }
  return 0;
}
