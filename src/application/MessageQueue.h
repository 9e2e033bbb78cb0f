#pragma once

#include "container/Queue.h"
#include "object/Object.h"
#include "types/String.h"
#include "application/Message.h"

namespace vardel::application {

// A FIFO of messages. It has no lock of its own: its owner locks around every call.
class MessageQueue : public object::Object {
    VARDEL_CLASS_PATH(object::Object, MessageQueue)

    MessageQueue() = default;
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    // Queueing
    // A push takes one count on the message; a pop hands that count to the caller. Destroying the
    // queue releases every message still in it.
    void pushBack(Message* message);
    // Puts the message ahead of every queued one.
    void pushFront(Message* message);
    // The front message, or null when the queue is empty.
    Message* popFront();
    // Empties the queue in one step and returns its front: the messages stay linked front to back
    // through next, and their queue counts pass to the caller.
    Message* takeAll();
    // Puts messages that takeAll handed out back at the front, in their order, with their counts.
    void restoreFront(Message* front);

    // The queued messages, front first.
    container::Queue<Message> messages;
};

} // namespace vardel::application
