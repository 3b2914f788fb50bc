#pragma once

// The scenario clock: visitors arrive and leave, write, the AI answers and
// chats escalate, each change made to the data first and then announced on
// the event stream, so REST answers and events always agree.

#include "SimData.h"
#include "SimStream.h"

#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>

namespace kv::sim {

class SimScenario {
public:
    // Everything in `data` is guarded by `dataMutex`.
    SimScenario(std::mutex& dataMutex, SimData& data, SimStream& stream, quint64 seed);
    ~SimScenario();

    // 0 stops the clock; at 1 something happens every four seconds or so.
    void setSpeed(double speed);
    // One step of the scenario, now.
    void step();

private:
    void run();
    void visitorArrives();
    void visitorLeaves();
    void visitorWrites();
    void assistantAnswers();
    void chatEscalates();
    void somethingUnknown();
    QString projectName(const QString& projectId) const;

    std::mutex& m_dataMutex;
    SimData& m_data;
    SimStream& m_stream;
    std::mt19937_64 m_random;

    std::mutex m_clockMutex;
    std::condition_variable m_clockWake;
    double m_speed = 0;
    bool m_quit = false;
    std::thread m_thread;
};

} // namespace kv::sim
