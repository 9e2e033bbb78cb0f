#pragma once

namespace vardel::system {

class Mutex;
class Signal;
class System;
class Thread;
class Ticker;

} // namespace vardel::system
