#pragma once

// Every wait of the device link goes through this, so tests can record waits instead of sleeping.
class Sleeper {
public:
    virtual ~Sleeper() = default;
    virtual void sleep(int ms) = 0;
};

class RealSleeper : public Sleeper {
public:
    void sleep(int ms) override;
};
