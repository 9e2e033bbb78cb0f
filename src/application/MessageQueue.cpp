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

Message* MessageQueue::takeAll()
{
    Message* front = messages.first;
    messages.first = nullptr;
    messages.last = nullptr;
    messages.count = 0;
    return front;
}

void MessageQueue::restoreFront(Message* front)
{
    if (!front) {
        return;
    }
    Message* back = front;
    std::int32_t count = 1;
    while (back->next) {
        back = back->next;
        ++count;
    }
    front->previous = nullptr;
    back->next = messages.first;
    if (messages.first) {
        messages.first->previous = back;
    } else {
        messages.last = back;
    }
    messages.first = front;
    messages.count += count;
}

} // namespace vardel::application
