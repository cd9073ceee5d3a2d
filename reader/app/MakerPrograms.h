// The maker's other programs, in one table for every place that names them: the main menu's
// title pictures (drawn at build time from it), the maker's web page of each (page numbers 0 to 7
// are their places here) and the tell-a-friend form's list and product codes.
#ifndef MAKER_PROGRAMS_H
#define MAKER_PROGRAMS_H

struct _MakerProgram {
  const char* name;  // "Quorvane " and this in the form's list; this alone on its title picture
  const char* what;  // the line under the name on its title picture
  const char* stem;  // its page: "/lectrel/iga/m_<stem>.html" on the maker's site
  const char* code;  // the product code the form sends for it
  int picture;       // the title picture ("Title<picture> copy.bmp") that shows it; 0 none
};

inline constexpr int MAKER_NUM_PROGRAMS = 8;
inline constexpr int MAKER_NUM_PICTURES = 6;

// The main menu's titles show pictures 1 and 2, then 3 and 4 or, on every other run, 5 and 6.
inline constexpr _MakerProgram maker_programs[MAKER_NUM_PROGRAMS] = {
    {"Chess", "Kings and pawns", "chess", "Chess_MAC", 1},
    {"Backgammon", "Dice and strategy", "backgammon", "Backgammon_MAC", 2},
    {"Solitaire", "Cards for one", "solitaire", "Solitaire_MAC", 5},
    {"Mahjong", "Tiles to match", "mahjong", "Mahjong_MAC", 3},
    {"Sudoku", "Numbers in squares", "sudoku", "Sudoku_MAC", 0},
    {"Pool", "Billiards at home", "pool", "Pool_MAC", 0},
    {"Bowling", "Ten pins", "bowling", "Bowling_MAC", 4},
    {"Puzzles", "Brain teasers", "puzzles", "Puzzles_MAC", 6},
};

// The program whose title picture is number n (1 to MAKER_NUM_PICTURES), or null.
inline const _MakerProgram* MakerProgramOfPicture(int n) {
  for (const _MakerProgram& p : maker_programs)
    if (p.picture == n) return &p;
  return nullptr;
}

#endif
