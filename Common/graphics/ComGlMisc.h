// The OpenGL state module: default state after every new context, the 2D drawing bracket over
// the virtual 640 x 480 screen, numbered blending types with a cached blend state, textured
// quads, viewports, clear colour, darkening and dimming, and the GL error check.
#ifndef COM_GL_MISC_H
#define COM_GL_MISC_H

struct _ComGlTextureImage;
struct _ComGlDxTexture;

// Module state (read by other modules and by the tests).
extern char cglm_blending_on;
extern int cglm_src_blend_type;
extern int cglm_dest_blend_type;
extern int cglm_use_depth_buffer;
extern char cglm_2d_prepared;            // 0 not in 2D, 1 PrepareFor2D, 2 matrices only
extern char cglm_2d_lights_turned_off;
extern char cglm_2d_depth_buffer_was_on;
extern float cglm_clear_col[3];
extern int cglm_full_viewport[4];
extern char cglm_viewport_is_fullscreen;
extern char cglm_two_sided_polys_on;
extern char com_gl_dim_on;
extern float com_gl_dim_level;

// Default state and buffers.
void ComGlMiscSetDefaultGraphicParamaters();
void ComGlMiscSetClearColour(float r, float g, float b);
void ComGlMiscGetClearColour(float* r, float* g, float* b);
void ComGlMiscClearScreenAndDepthBuffers();
void ComGlMiscClearScreenBuffer();
void ComGlMiscClearDepthBuffer();
void ComGlMiscUseDepthBuffer(char on);
void ComGlMiscTurnOnDepthBuffer();
void ComGlMiscTurnOffDepthBuffer();
void ComGlMiscTurnOffDepthBufferIfNeeded(char* was_on);
void ComGlMiscTurnOnLighting();
void ComGlMiscTurnOffLighting();
void ComGlMiscTurnOffLightingIfNeeded(char* was_on);
void ComGlMiscShowTwoSidedPolygons(char on);
char ComGlMiscAreTwoSidedPolygonsOn();
void ComGlMiscSetPolygonDrawOrder(char ccw);
void ComGlMiscSetColour(float r, float g, float b, float a);
void ComGlMiscClearTexture();
void ComGlMiscSetModelView();

// 2D mode (does not nest; the IfNeeded form says whether it entered).
void ComGlMiscPrepareFor2D(char lights_off);
void ComGlMiscPrepareFor2DIfNeeded(char lights_off, char* prepared_here);
void ComGlMiscRestoreAfter2D();
char ComGlMiscIs2DPrepared();
void ComGlMiscPrepareFor2DMatricesOnly();
void ComGlMiscRestoreAfter2DMatricesOnly();

// Blending. Factors are OpenGL's blend factors.
inline constexpr int CM_BLEND_ONE = 1;  // GL_ONE
void ComGlMiscEnableBlendingType(int type);
void ComGlMiscEnableSpecificBlending(int src, int dst);
void ComGlMiscDisableBlending();
char ComGlMiscIsBlendingEnabled();
char ComGlMiscGetBlendingState(char* on, int* src, int* dst);
char ComGlMiscSaveOrRestoreBlendingState(char save);

// Textured quads (virtual-screen units unless "Pure").
void ComGlMiscDrawTextureFloat(float x, float y, float w, float h, _ComGlTextureImage* image);
void ComGlMiscDrawTexture(int x, int y, int w, int h, _ComGlTextureImage* image);
void ComGlMiscDrawTextureFloatWithColour(float x, float y, float w, float h, float r, float g, float b, float a, _ComGlTextureImage* image);
void ComGlMiscDrawTexturePartFloat(float x, float y, float w, float h, float tex_left, float tex_top, float tex_right, float tex_bottom, _ComGlTextureImage* image);
void ComGlMiscDrawTexturePartWithColourFloat(float x, float y, float w, float h, float tex_left, float tex_top, float tex_right, float tex_bottom, float r, float g, float b, float a, _ComGlTextureImage* image);
void ComGlMiscDrawTextureFloatPure(float x, float y, float w, float h, _ComGlTextureImage* image);
void ComGlMiscDrawTexturePartFloatPure(float x, float y, float w, float h, float tex_left, float tex_top, float tex_right, float tex_bottom, _ComGlTextureImage* image);
void ComGlMiscDrawTexturePartPureWithColourFloat(float x, float y, float w, float h, float tex_left, float tex_top, float tex_right, float tex_bottom, float r, float g, float b, float a, _ComGlTextureImage* image);
void ComGlMiscDrawTextureAsBackground(_ComGlTextureImage* image);
void ComGlMiscDrawFourTexturesAsBackground(_ComGlDxTexture* top_left, _ComGlDxTexture* top_right, _ComGlDxTexture* bottom_left, _ComGlDxTexture* bottom_right);

// Viewports (window pixels, origin top left, unless "Ratioed").
void ComGlMiscSetViewportFullScreen();
void ComGlMiscSetViewportToSize(int x, int y, int w, int h);
void ComGlMiscSetViewportToSizeRatioed(int x, int y, int w, int h);
int* ComGlMiscGetFullScreenViewport();
void ComGlMiscGetCurrentViewport(int* x, int* y, int* w, int* h);

// Darkening and dimming.
void ComGlMiscDarkenScreen(float alpha);
void ComGlDimDarkenScreen(float alpha);
void ComGlDimSetLevel(float level);
float ComGlDimGetLevel();
void ComGlDimTurnOff();
char ComGlDimIsOn();
void ComGlDimDo();

// Alpha of a texel from its colour, by alpha type (0, 1, 3 to 6).
unsigned char ComGlMiscGetPixelAlphaFromBrightness(char type, unsigned char r, unsigned char g, unsigned char b);

// Errors: 1 when OpenGL reports none; otherwise logs (at most 100 per run) and returns 0.
char ComGlMiscCheckGlError(const char* function_name, const char* text);

#endif
