#pragma once

#include "container/Chainable.h"
#include "object/Object.h"
#include "types/String.h"
#include "application/Forward.h"

namespace vardel::application {

// Anything that can serve a message. A handler is registered with at most one messenger, whose
// thread serves the handler's messages.
class Handler : public object::Object, public container::Chainable<Handler> {
    VARDEL_CLASS_PATH(object::Object, Handler)

    Handler();
    ~Handler() override;
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

    // Serving
    // Called on the serving thread; the result is not used by the loops.
    virtual bool handleMessage(Message& message);

    // The messenger the handler is registered with, or null; not a counted reference.
    Messenger* messenger;
};

} // namespace vardel::application
