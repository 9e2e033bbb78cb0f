#include "platform/Win32.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>

#include <atomic>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <thread>

#include "WindowTesting.h"
#include "support/CloseBox.h"

using namespace windowtesting;

namespace {

int openDescriptors()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

double threadCpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// The X window titled title, found from a connection of the test's own as a window manager would.
Window findTopLevel(Display* display, const char* title)
{
    Window root;
    Window parent;
    Window* children = nullptr;
    unsigned int count = 0;
    Window found = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count && !found; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            if (std::strcmp(name, title) == 0) {
                found = children[i];
            }
            XFree(name);
        }
    }
    XFree(children);
    return found;
}

// Resources the server holds for all its clients together (windows, colormaps, contexts, ...).
long serverResources(Display* display)
{
    int clientCount = 0;
    XResClient* clients = nullptr;
    XResQueryClients(display, &clientCount, &clients);
    long total = 0;
    for (int i = 0; i < clientCount; ++i) {
        int typeCount = 0;
        XResType* types = nullptr;
        XResQueryClientResources(display, clients[i].resource_base, &typeCount, &types);
        for (int t = 0; t < typeCount; ++t) {
            total += types[t].count;
        }
        XFree(types);
    }
    XFree(clients);
    return total;
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        seen().clear();
        minimumTrack() = {0, 0};
    }
};

} // namespace

TEST_F(WindowTest, creationAsksLimitsBeforeCreateThenReportsSizeAndPlace)
{
    int marker = 0;
    HWND window = makeWindow("creation", 30, 20, 200, 150, nullptr, &marker);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(messagesOf(window), (std::vector<UINT>{WM_GETMINMAXINFO, WM_CREATE, WM_SIZE, WM_MOVE}));
    EXPECT_EQ(seen()[2].lParam, MAKELPARAM(200, 150));
    EXPECT_EQ(seen()[3].lParam, MAKELPARAM(30, 20));

    HWND child = makeWindow("child", 10, 5, 50, 40, window);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(messagesOf(child), (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_MOVE}));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(child, &rect));
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 25);
    EXPECT_EQ(rect.right - rect.left, 50);
    POINT corner{1, 2};
    ASSERT_TRUE(ClientToScreen(child, &corner));
    EXPECT_EQ(corner.x, 41);
    EXPECT_EQ(corner.y, 27);
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowTest, creationParameterAndSlotsReachTheProcedure)
{
    static LPVOID given = nullptr;
    static int chained = 0;
    struct Procedures {
        static LRESULT CALLBACK keeping(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if (message == WM_CREATE) {
                given = reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams;
                SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(given));
            }
            return DefWindowProcA(window, message, wParam, lParam);
        }
        static LRESULT CALLBACK replacing(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
        {
            ++chained;
            auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_USERDATA));
            return CallWindowProcA(previous, window, message, wParam, lParam);
        }
    };
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedures::keeping;
    windowClass.cbWndExtra = sizeof(LONG_PTR) + 4;
    windowClass.lpszClassName = "vardel::test::slots";
    ASSERT_NE(RegisterClassExA(&windowClass), 0);
    EXPECT_EQ(RegisterClassExA(&windowClass), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

    int object = 0;
    HWND window = CreateWindowExA(0, "vardel::test::slots", "", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                                  80, nullptr, nullptr, GetModuleHandleA(nullptr), &object);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(given, &object);
    // Twelve extra bytes hold one pointer at 0; one at 8 would run past them, as on 64-bit Win32.
    EXPECT_EQ(GetWindowLongPtrA(window, 0), reinterpret_cast<LONG_PTR>(&object));
    EXPECT_EQ(GetWindowLongPtrA(window, 8), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);

    LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedures::replacing));
    EXPECT_EQ(previous, reinterpret_cast<LONG_PTR>(Procedures::keeping));
    SetWindowLongPtrA(window, GWLP_USERDATA, previous);
    ASSERT_TRUE(SetWindowPos(window, nullptr, 0, 0, 120, 90, SWP_NOMOVE | SWP_NOZORDER));
    EXPECT_GT(chained, 0);
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(CreateWindowExA(0, "vardel::test::missing", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(WindowTest, setWindowPosResizesReportsSizeOnceAndKeepsLimits)
{
    HWND window = makeWindow("placement", 0, 0, 200, 150);
    ASSERT_NE(window, nullptr);
    showAndSettle(window);
    seen().clear();

    ASSERT_TRUE(SetWindowPos(window, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER | SWP_NOCOPYBITS));
    // The server's own report of the change must not come back as a second WM_SIZE.
    pumpFor(200);
    int sizes = 0;
    for (const Seen& message : seen()) {
        if (message.message == WM_SIZE) {
            ++sizes;
            EXPECT_EQ(message.lParam, MAKELPARAM(320, 240));
        }
        EXPECT_NE(message.message, WM_MOVE);
    }
    EXPECT_EQ(sizes, 1);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);

    minimumTrack() = {256, 256};
    SetWindowPos(window, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 256);
    EXPECT_EQ(client.bottom, 256);
    RECT adjusted{10, 20, 610, 520};
    ASSERT_TRUE(AdjustWindowRectEx(&adjusted, 0x00CD0000, FALSE, WS_EX_CLIENTEDGE));
    EXPECT_EQ(adjusted.left, 10);
    EXPECT_EQ(adjusted.right, 610);
    DestroyWindow(window);
}

TEST_F(WindowTest, closeBoxBecomesCloseAndNothingElse)
{
    HWND window = makeWindow("close box", 0, 0, 120, 100);
    ASSERT_NE(window, nullptr);
    showAndSettle(window);
    seen().clear();

    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    Window xWindow = findTopLevel(display, "close box");
    ASSERT_NE(xWindow, 0u);
    sendCloseBox(display, xWindow);

    ASSERT_TRUE(pumpUntil([&] { return !seen().empty(); }));
    pumpFor(100);
    EXPECT_EQ(messagesOf(window), std::vector<UINT>{WM_CLOSE});
    EXPECT_TRUE(IsWindow(window));
    DestroyWindow(window);
    XCloseDisplay(display);
}

TEST_F(WindowTest, invalidationFromAnotherThreadPaintsOnceAfterPostedMessages)
{
    HWND window = makeWindow("paint", 0, 0, 100, 100);
    ASSERT_NE(window, nullptr);
    showAndSettle(window);
    seen().clear();

    // The other thread's whole sequence is done before the owner looks: a paint taken between its
    // steps would be a second one, and the order would depend on the scheduler.
    DWORD owner = GetCurrentThreadId();
    std::thread other([&] {
        PostThreadMessageA(owner, WM_USER + 1, 0, 0);
        InvalidateRect(window, nullptr, TRUE);
        RECT part{10, 10, 20, 20};
        InvalidateRect(window, &part, FALSE);
        PostThreadMessageA(owner, WM_USER + 2, 0, 0);
    });
    other.join();
    std::vector<UINT> order;
    MSG message;
    while (order.size() < 3 && GetMessageA(&message, nullptr, 0, 0) > 0) {
        order.push_back(message.message);
        DispatchMessageA(&message);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_PAINT}));
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
    // BeginPaint sent the erase the first invalidation asked for.
    EXPECT_EQ(messagesOf(window), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));

    // The owner asleep in GetMessageA wakes for an invalidation from another thread alone.
    seen().clear();
    std::thread invalidator([&] {
        Sleep(50);
        InvalidateRect(window, nullptr, FALSE);
    });
    ASSERT_GT(GetMessageA(&message, nullptr, 0, 0), 0);
    invalidator.join();
    EXPECT_EQ(message.message, static_cast<UINT>(WM_PAINT));
    DispatchMessageA(&message);
    EXPECT_EQ(messagesOf(window), std::vector<UINT>{WM_PAINT});

    InvalidateRect(window, nullptr, FALSE);
    ASSERT_TRUE(ValidateRect(window, nullptr));
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    DestroyWindow(window);
    EXPECT_FALSE(InvalidateRect(window, nullptr, FALSE));
}

TEST_F(WindowTest, waitingForMessagesCostsNoProcessorTime)
{
    HWND window = makeWindow("idle", 0, 0, 100, 100);
    ASSERT_NE(window, nullptr);
    showAndSettle(window);
    DWORD owner = GetCurrentThreadId();
    std::thread quitter([owner] {
        Sleep(500);
        PostThreadMessageA(owner, WM_QUIT, 0, 0);
    });
    double before = threadCpuSeconds();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    double spent = threadCpuSeconds() - before;
    quitter.join();
    EXPECT_LT(spent, 0.02);
    DestroyWindow(window);
}

TEST_F(WindowTest, hundredWindowsLeaveNoDescriptorsNorServerResources)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    auto cycle = [] {
        HWND window = makeWindow("cycle", 0, 0, 64, 48);
        HWND child = makeWindow("", 4, 4, 32, 24, window);
        ShowWindow(window, SW_SHOW);
        UpdateWindow(window);
        bool painted = pumpUntil([&] {
            auto numbers = messagesOf(child);
            return std::find(numbers.begin(), numbers.end(), WM_PAINT) != numbers.end();
        });
        DestroyWindow(window);
        seen().clear();
        return painted;
    };
    ASSERT_TRUE(cycle());
    int descriptors = openDescriptors();
    long resources = serverResources(display);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(cycle()) << "cycle " << i;
    }
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_EQ(serverResources(display), resources);
    XCloseDisplay(display);
}
