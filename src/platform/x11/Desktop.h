#pragma once

#include "platform/posix/Types.h"

// Desktop services of the subset: window classes and procedures, window placement, painting,
// input state, device contexts, palettes, pixel formats and WGL. Windows have no non-client area
// (the window manager draws frames), so a window's rectangle is its client rectangle.

// Types

typedef short SHORT;
typedef unsigned short USHORT;
typedef float FLOAT;
typedef WORD ATOM;
typedef DWORD COLORREF;
typedef ULONG_PTR DWORD_PTR;

// The module the process runs from; window classes are registered with it.
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HDC__* HDC;
typedef struct HGLRC__* HGLRC;
typedef struct HMENU__* HMENU;
typedef struct HICON__* HICON;
typedef HICON HCURSOR;
typedef struct HBRUSH__* HBRUSH;
// GDI objects: palettes are the only kind.
typedef void* HGDIOBJ;
typedef struct HPALETTE__* HPALETTE;

typedef LRESULT(CALLBACK* WNDPROC)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
typedef void (*PROC)();

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct tagWNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
} WNDCLASSEXA;

typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA, *LPCREATESTRUCTA;

typedef struct tagMINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
} MINMAXINFO, *LPMINMAXINFO;

typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
} PAINTSTRUCT, *LPPAINTSTRUCT;

typedef struct tagTRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
} TRACKMOUSEEVENT, *LPTRACKMOUSEEVENT;

typedef struct tagXFORM {
    FLOAT eM11;
    FLOAT eM12;
    FLOAT eM21;
    FLOAT eM22;
    FLOAT eDx;
    FLOAT eDy;
} XFORM;

typedef struct tagPALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
} PALETTEENTRY, *LPPALETTEENTRY;

typedef struct tagLOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
} LOGPALETTE;

typedef struct tagPIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
} PIXELFORMATDESCRIPTOR, *LPPIXELFORMATDESCRIPTOR;

// Word packing

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xFFFF))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xFFFF))
#define MAKELONG(low, high) ((LONG)(((WORD)((DWORD_PTR)(low) & 0xFFFF)) | ((DWORD)((WORD)((DWORD_PTR)(high) & 0xFFFF))) << 16))
#define MAKELPARAM(low, high) ((LPARAM)(DWORD)MAKELONG(low, high))
#define MAKEWPARAM(low, high) ((WPARAM)(DWORD)MAKELONG(low, high))
#define GET_X_LPARAM(l) ((int)(short)LOWORD(l))
#define GET_Y_LPARAM(l) ((int)(short)HIWORD(l))
#define GET_WHEEL_DELTA_WPARAM(w) ((short)HIWORD(w))
#define GET_KEYSTATE_WPARAM(w) (LOWORD(w))
#define MAKEINTRESOURCEA(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))

// Window classes and styles

#define CS_VREDRAW 0x0001u
#define CS_HREDRAW 0x0002u
#define CS_OWNDC 0x0020u

#define WS_OVERLAPPED 0x00000000u
#define WS_MAXIMIZEBOX 0x00010000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_THICKFRAME 0x00040000u
#define WS_SYSMENU 0x00080000u
#define WS_CAPTION 0x00C00000u
#define WS_VISIBLE 0x10000000u
#define WS_CHILD 0x40000000u
#define WS_POPUP 0x80000000u
#define WS_OVERLAPPEDWINDOW 0x00CF0000u
#define WS_EX_CLIENTEDGE 0x00000200u

#define CW_USEDEFAULT ((int)0x80000000)

#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_USERDATA (-21)

#define IDI_APPLICATION MAKEINTRESOURCEA(32512)
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define COLOR_WINDOW 5

// Showing and placing windows

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5

#define SWP_NOSIZE 0x0001u
#define SWP_NOMOVE 0x0002u
#define SWP_NOZORDER 0x0004u
#define SWP_NOREDRAW 0x0008u
#define SWP_NOACTIVATE 0x0010u
#define SWP_SHOWWINDOW 0x0040u
#define SWP_HIDEWINDOW 0x0080u
#define SWP_NOCOPYBITS 0x0100u
#define SWP_NOOWNERZORDER 0x0200u
#define SWP_NOSENDCHANGING 0x0400u

#define SIZE_RESTORED 0
#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2

// Mouse and keyboard

// Key and button flags in the wParam of mouse messages.
#define MK_LBUTTON 0x0001u
#define MK_RBUTTON 0x0002u
#define MK_SHIFT 0x0004u
#define MK_CONTROL 0x0008u
#define MK_MBUTTON 0x0010u
#define WHEEL_DELTA 120

#define TME_LEAVE 0x00000002u
#define TME_CANCEL 0x80000000u

#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_MBUTTON 0x04
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_PRINT 0x2A
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_NUMPAD0 0x60
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_OEM_1 0xBA
#define VK_OEM_PLUS 0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define VK_OEM_2 0xBF
#define VK_OEM_3 0xC0
#define VK_OEM_4 0xDB
#define VK_OEM_5 0xDC
#define VK_OEM_6 0xDD
#define VK_OEM_7 0xDE

// Device contexts and palettes

#define MM_TEXT 1
#define GM_COMPATIBLE 1
#define GM_ADVANCED 2

#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define SIZEPALETTE 104
#define RC_BITBLT 0x0001
#define RC_PALETTE 0x0100
#define RC_DI_BITMAP 0x0080
#define RC_DIBTODEV 0x0200
#define RC_STRETCHBLT 0x0800
#define RC_STRETCHDIB 0x2000

#define PC_RESERVED 0x01
#define PC_EXPLICIT 0x02
#define PC_NOCOLLAPSE 0x04

// Pixel formats

#define PFD_TYPE_RGBA 0
#define PFD_TYPE_COLORINDEX 1
#define PFD_MAIN_PLANE 0
#define PFD_DOUBLEBUFFER 0x00000001u
#define PFD_STEREO 0x00000002u
#define PFD_DRAW_TO_WINDOW 0x00000004u
#define PFD_DRAW_TO_BITMAP 0x00000008u
#define PFD_SUPPORT_GDI 0x00000010u
#define PFD_SUPPORT_OPENGL 0x00000020u
#define PFD_GENERIC_FORMAT 0x00000040u
#define PFD_NEED_PALETTE 0x00000080u
#define PFD_NEED_SYSTEM_PALETTE 0x00000100u
#define PFD_DOUBLEBUFFER_DONTCARE 0x40000000u
#define PFD_STEREO_DONTCARE 0x80000000u

// Error codes of this area

#define ERROR_INVALID_PIXEL_FORMAT 2000u
#define ERROR_CLASS_ALREADY_EXISTS 1410u
#define ERROR_CLASS_DOES_NOT_EXIST 1411u
#define ERROR_CANNOT_FIND_WND_CLASS 1407u
#define ERROR_INVALID_INDEX 1413u
#define ERROR_WINDOW_OF_OTHER_THREAD 1408u
#define ERROR_DC_NOT_FOUND 1425u
#define ERROR_MOD_NOT_FOUND 126u

// Process entry

// GetModuleHandleA(NULL) is the instance handle of the program, for registering window classes;
// other modules are not known.
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);

// Window classes and procedures

// Classes are looked up by name; registering a name twice fails with ERROR_CLASS_ALREADY_EXISTS.
ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass);
// One X window per window, owned by the calling thread, whose X connection it uses. Sends
// WM_GETMINMAXINFO, WM_CREATE (with the creation parameter in CREATESTRUCTA), WM_SIZE and
// WM_MOVE before returning; a child with WS_VISIBLE is shown with its parent.
HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
// On the owner thread only. Sends WM_DESTROY to the window and then its children; a GL context
// current on one of them is unbound first.
BOOL WINAPI DestroyWindow(HWND window);
// WM_CLOSE destroys the window, WM_PAINT validates it, WM_ERASEBKGND and WM_GETMINMAXINFO leave
// the defaults; everything else gives 0.
LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// GWLP_WNDPROC, GWLP_USERDATA, GWLP_HINSTANCE and the extra bytes at offsets 0, 8, ... below
// cbWndExtra (a pointer-sized slot each; 4 extra bytes give slot 0).
LONG_PTR WINAPI GetWindowLongPtrA(HWND window, int index);
LONG_PTR WINAPI SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text);
BOOL WINAPI IsWindow(HWND window);

// Window placement

// Returns whether the window was visible before.
BOOL WINAPI ShowWindow(HWND window, int command);
// Sends WM_PAINT now if the window has an invalid region.
BOOL WINAPI UpdateWindow(HWND window);
// Moves and sizes in the parent's client coordinates (screen coordinates for a top-level
// window) and sends WM_SIZE and WM_MOVE for what changed. The z-order is never changed.
BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
// Leaves the rectangle as it is: there is no non-client area.
BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL WINAPI GetWindowRect(HWND window, LPRECT rect);
BOOL WINAPI GetClientRect(HWND window, LPRECT rect);
BOOL WINAPI ClientToScreen(HWND window, LPPOINT point);
// Only the stock IDI_APPLICATION and IDC_ARROW exist; the handles are tokens.
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);

// Messages and painting (GetMessageA and PeekMessageA are in the thread message queues)

// Posts WM_CHAR for a WM_KEYDOWN that produces a character.
BOOL WINAPI TranslateMessage(const MSG* message);
LRESULT WINAPI DispatchMessageA(const MSG* message);
// From any thread: adds to the window's invalid region and wakes its owner, which then receives
// one WM_PAINT once nothing else is pending. Null rect invalidates the whole window.
BOOL WINAPI InvalidateRect(HWND window, LPCRECT rect, BOOL erase);
BOOL WINAPI ValidateRect(HWND window, LPCRECT rect);
// Sends WM_ERASEBKGND if the invalidation asked for it, and validates the whole window.
HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint);

// Input state

// The state of a key as of the input read so far on the calling thread: the high bit while it is
// down, the low bit toggled by each press.
SHORT WINAPI GetKeyState(int virtualKey);
// TME_LEAVE: one WM_MOUSELEAVE when the pointer next leaves the window (at once if it is not in
// it); TME_CANCEL withdraws the request.
BOOL WINAPI _TrackMouseEvent(LPTRACKMOUSEEVENT track);

// Device contexts

// Every window has its own device context for its whole life; GetDC(NULL) is the screen's.
HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC dc);
HWND WINAPI WindowFromDC(HDC dc);
int WINAPI SetMapMode(HDC dc, int mode);
int WINAPI SetGraphicsMode(HDC dc, int mode);
// Needs GM_ADVANCED.
BOOL WINAPI SetWorldTransform(HDC dc, const XFORM* transform);
int WINAPI GetDeviceCaps(HDC dc, int index);

// Palettes (the display is true-colour: they are kept but change nothing)

HPALETTE WINAPI CreatePalette(const LOGPALETTE* palette);
HPALETTE WINAPI SelectPalette(HDC dc, HPALETTE palette, BOOL background);
UINT WINAPI RealizePalette(HDC dc);
BOOL WINAPI UnrealizeObject(HGDIOBJ object);
BOOL WINAPI DeleteObject(HGDIOBJ object);
// 0 on a true-colour display, as there is no system palette.
UINT WINAPI GetSystemPaletteEntries(HDC dc, UINT start, UINT count, LPPALETTEENTRY entries);

// Pixel formats

// The closest double-buffered RGBA format to the request, or 0. Formats are numbered from 1.
int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* request);
// Once per window. The window keeps its HWND and DC even when its X window has to be recreated
// with the format's visual.
BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
// Fills the descriptor (cColorBits excludes alpha) and returns the number of formats.
int WINAPI DescribePixelFormat(HDC dc, int format, UINT size, LPPIXELFORMATDESCRIPTOR descriptor);
int WINAPI GetPixelFormat(HDC dc);
BOOL WINAPI SwapBuffers(HDC dc);

// WGL

// A compatibility-profile context for the DC's pixel format.
HGLRC WINAPI wglCreateContext(HDC dc);
// Fails with ERROR_INVALID_PIXEL_FORMAT when the DC's format is not the context's; (NULL, NULL)
// unbinds the calling thread's context.
BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC context);
BOOL WINAPI wglDeleteContext(HGLRC context);
HGLRC WINAPI wglGetCurrentContext();
HDC WINAPI wglGetCurrentDC();
// Null without a current context, for names that are not extension or core entry points of
// OpenGL above 1.1 or of the WGL extensions below, and for those whose extension (or version) the
// current context lacks.
PROC WINAPI wglGetProcAddress(LPCSTR name);

// WGL extensions. WGL_ARB_extensions_string and WGL_EXT_extensions_string are always offered;
// WGL_EXT_swap_control where the X server's GLX can set the swap interval, 0 included (a negative
// interval fails with ERROR_INVALID_DATA). These functions act on the calling thread's current
// context and fail with ERROR_INVALID_HANDLE without one. No other WGL extension is offered.

typedef const char*(WINAPI* PFNWGLGETEXTENSIONSSTRINGARBPROC)(HDC dc);
typedef const char*(WINAPI* PFNWGLGETEXTENSIONSSTRINGEXTPROC)();
typedef BOOL(WINAPI* PFNWGLSWAPINTERVALEXTPROC)(int interval);
typedef int(WINAPI* PFNWGLGETSWAPINTERVALEXTPROC)();
