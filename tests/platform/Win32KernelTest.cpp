#include "platform/Win32.h"

#include <gtest/gtest.h>

// Kernel behaviour that programs may rely on because Win32 documents it. The program builds for
// Windows too, where it checks these expectations against the system itself.

TEST(NamedEvent, aSecondCreateOpensTheSameEventAndSaysItExisted)
{
    HANDLE first = CreateEventA(nullptr, TRUE, FALSE, "vardel-test-named");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    // The reset mode and state of the existing event hold; those asked for now are ignored.
    HANDLE second = CreateEventA(nullptr, FALSE, TRUE, "vardel-test-named");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_NE(second, first);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_TIMEOUT);
    SetEvent(first);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0);

    // "Local\" names the same object; names differ by case.
    HANDLE local = CreateEventA(nullptr, TRUE, FALSE, "Local\\vardel-test-named");
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(WaitForSingleObject(local, 0), WAIT_OBJECT_0);
    HANDLE upper = CreateEventA(nullptr, TRUE, FALSE, "VARDEL-TEST-NAMED");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(WaitForSingleObject(upper, 0), WAIT_TIMEOUT);

    // Unnamed events are never shared.
    HANDLE unnamed = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    HANDLE other = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(other, 0), WAIT_TIMEOUT);
    for (HANDLE handle : {first, second, local, upper, unnamed, other}) {
        EXPECT_TRUE(CloseHandle(handle));
    }
}

TEST(NamedEvent, theNameGoesWithTheLastHandle)
{
    HANDLE first = CreateEventA(nullptr, TRUE, TRUE, "vardel-test-closing");
    HANDLE second = CreateEventA(nullptr, TRUE, FALSE, "vardel-test-closing");
    CloseHandle(first);
    // Still held by the second handle.
    HANDLE third = CreateEventA(nullptr, TRUE, FALSE, "vardel-test-closing");
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(WaitForSingleObject(third, 0), WAIT_OBJECT_0);
    CloseHandle(second);
    CloseHandle(third);

    HANDLE fresh = CreateEventA(nullptr, TRUE, FALSE, "vardel-test-closing");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(WaitForSingleObject(fresh, 0), WAIT_TIMEOUT);
    CloseHandle(fresh);
}

TEST(NamedEvent, namesAreSharedWithTimersAndRefuseStrayBackslashes)
{
    HANDLE timer = CreateWaitableTimerA(nullptr, FALSE, "vardel-test-kind");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(CreateEventA(nullptr, TRUE, FALSE, "vardel-test-kind"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HANDLE sameTimer = CreateWaitableTimerA(nullptr, FALSE, "vardel-test-kind");
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    LARGE_INTEGER now;
    now.QuadPart = -1;
    ASSERT_TRUE(SetWaitableTimer(timer, &now, 0, nullptr, nullptr, FALSE));
    EXPECT_EQ(WaitForSingleObject(sameTimer, 1000), WAIT_OBJECT_0);
    CloseHandle(timer);
    CloseHandle(sameTimer);

    EXPECT_EQ(CreateEventA(nullptr, TRUE, FALSE, "vardel\\test"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(ThreadLocalStorage, onlyAllocatedIndexesAnswer)
{
    int value = 0;
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(TlsGetValue(100000), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(TlsSetValue(100000, &value));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    DWORD index = TlsAlloc();
    ASSERT_NE(index, TLS_OUT_OF_INDEXES);
    // A null value is told from a failure by the cleared last error.
    SetLastError(ERROR_INVALID_FUNCTION);
    EXPECT_EQ(TlsGetValue(index), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_TRUE(TlsSetValue(index, &value));
    EXPECT_EQ(TlsGetValue(index), &value);
    EXPECT_TRUE(TlsFree(index));
    EXPECT_FALSE(TlsFree(index));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}
