#pragma once

#include "application/Handler.h"
#include "application/Message.h"
#include "system/Mutex.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

// A handler that notes the code of every message it serves and may act on it.
struct Recorder : vardel::application::Handler {
    bool handleMessage(vardel::application::Message& message) override
    {
        if (action) {
            action(message);
        }
        std::lock_guard lock(mutex);
        served.push_back(message.what);
        return true;
    }

    std::vector<std::int32_t> codes()
    {
        std::lock_guard lock(mutex);
        return served;
    }

    std::function<void(vardel::application::Message&)> action;
    vardel::system::Mutex mutex;
    std::vector<std::int32_t> served;
};
