// Paper backgrounds: one of 15 JPEG pictures, tinted by the background colour, adjusted in
// contrast, repeated over the screen and, in the reading view, moving with the text.
#ifndef PAPER_H
#define PAPER_H

struct _ComGlDxTexture;

extern _ComGlDxTexture p_bg_tex;
extern float paper_r, paper_g, paper_b;
extern float p_tc_mult;
extern float p_tc_umult, p_tc_vmult;
extern float p_tu1, p_tu2, p_tv1, p_tv2;
extern float p_uh, p_vh;

char PaperCreateGraphics();
void PaperDestroyGraphics();
char PaperReload();
char PaperIsLoaded();
void PaperSetPaperSize();
void PaperSetPaperColour(float r, float g, float b);
void PaperRenderBackground();
void PaperTick();

// The formulas, kept apart from the texture so they can be checked without a window.
// Repeat counts across and down for a size setting (clamped to 0..1).
void PaperCalcRepeats(float paper_size, char rotated, float* umult, float* vmult);
// The power applied to the picture's channels for a contrast setting (clamped to 0..1).
float PaperCalcPower(float contrast);
// The vertical texture offset for a reading position, kept within one repeat.
float PaperCalcOffset(double cur_height, float ygap, float offset_units, float vmult, float h);
// The picture's file name for a paper number; 0 when the number means no paper.
char PaperGetFilename(int number, char* dst, int len);

#endif
