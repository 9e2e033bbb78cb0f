#pragma once

namespace vardel::application {

class Application;
class Handler;
class Looper;
class Message;
class MessageQueue;
class Messenger;

} // namespace vardel::application
