#include "application/Handler.h"

#include "application/Messenger.h"

namespace vardel::application {

Handler::Handler() : messenger(nullptr) {}

Handler::~Handler()
{
    if (messenger) {
        // The messenger drops the hold its chain has on this handler; the count taken here keeps
        // that release from destroying the handler a second time.
        retain();
        messenger->removeHandler(this);
    }
}

bool Handler::handleMessage(Message&)
{
    return true;
}

} // namespace vardel::application
