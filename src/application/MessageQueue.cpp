#include "application/MessageQueue.h"

namespace vardel::application {

void MessageQueue::pushBack(Message* message)
{
    messages.pushBack(message);
}

void MessageQueue::pushFront(Message* message)
{
    messages.pushFront(message);
}

Message* MessageQueue::popFront()
{
    return messages.popFront();
}

} // namespace vardel::application
