// The worker base: one thread per Start, a bounded Stop, the instance numbers and the object's life.
#include "NetwatchTestSupport.h"
#include "TestTime.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A worker whose once-a-second work counts its steps; given a gate, a step lasts until the gate is
// set (at most 5 s, stretched, so that no fault of the worker leaves a test hanging).
class StepCounter : public CQServer {
public:
    explicit StepCounter(HANDLE gate = nullptr, std::atomic<int>* finished = nullptr)
        : m_gate(gate), m_finished(finished) {}
    ~StepCounter() override { WaitForThreadEnd(); }
    void Run() override {
        RunEachSecond([this] {
            ++steps;
            if (m_gate) WaitForSingleObject(m_gate, TestTimeLimit(5000));
            if (m_finished) ++*m_finished;
        });
    }
    std::atomic<int> steps{0};

private:
    HANDLE m_gate;
    std::atomic<int>* m_finished;
};

std::string EndTrace(const CQServer& w, unsigned threadId, int inThread) {
    char line[128];
    std::snprintf(line, sizeof line, "m_nIndex=%d, Thread:0x%x end, m_bInThread:%d...\n", w.Index(), threadId,
                  inThread);
    return line;
}

unsigned ThreadIdFromRunningTrace(int index) {
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "m_nIndex=%d, Thread:0x", index);
    for (const std::string& t : Traces()) {
        if (t.compare(0, strlen(prefix), prefix) == 0)
            return static_cast<unsigned>(strtoul(t.c_str() + strlen(prefix), nullptr, 16));
    }
    return 0;
}

} // namespace

TEST(NetwatchWorkerBase, StartTwiceRunsOneThreadAndStopEndsItWithinMilliseconds) {
    CaptureTraces();
    StepCounter w;
    EXPECT_EQ(1, w.Start());
    EXPECT_EQ(0, w.Start()) << "a second Start while running";
    ASSERT_TRUE(WaitUntil([&] { return w.IsInThread() == 1; }, 5000)) << "the body never ran";
    unsigned id = ThreadIdFromRunningTrace(w.Index());
    ASSERT_NE(0u, id) << "no running trace: " << JoinedTraces();
    int running = 0;
    for (const std::string& t : Traces())
        running += t.find("running...") != std::string::npos;
    EXPECT_EQ(1, running) << JoinedTraces();

    // The body sleeps between its once-a-second steps (a step of this worker is instant).
    DWORD t0 = GetTickCount();
    w.Stop();
    DWORD took = GetTickCount() - t0;
    EXPECT_LT(took, TestTimeLimit(200)) << "Stop of an idle body took " << took << " ms";
    EXPECT_EQ(0, w.IsInThread());
    EXPECT_EQ(1, CountTraces(EndTrace(w, id, 0))) << JoinedTraces();

    // Stopped: it can be started again, with a new thread.
    EXPECT_EQ(1, w.Start());
    w.Stop();
}

TEST(NetwatchWorkerBase, StopOfANeverStartedWorkerIsSilent) {
    CaptureTraces();
    StepCounter w;
    size_t before = Traces().size();
    w.Stop();
    EXPECT_EQ(before, Traces().size()) << JoinedTraces();
    EXPECT_EQ(0, w.IsStarted());
}

TEST(NetwatchWorkerBase, InstanceNumbersFollowConstructionAndTheCountTracesBothWays) {
    // The globals of this program come first, the finder before the inventory.
    EXPECT_EQ(1, g_IPServer.Index());
    EXPECT_EQ(2, g_SystemInfo.Index());

    CaptureTraces();
    {
        CQIPServer finder;
        CSystemInfo inventory;
        EXPECT_EQ(3, finder.Index());
        EXPECT_EQ(4, inventory.Index());
    }
    std::vector<std::string> expected = {"CQServer::_nRef=3\n", "CQServer::_nRef=4\n", "CQServer::_nRef=4\n",
                                         "CQServer::_nRef=3\n"};
    EXPECT_EQ(expected, Traces()) << JoinedTraces();
}

TEST(NetwatchWorkerBase, StopAndStartGiveUpOnALongStepButTheObjectOutlivesIt) {
    CaptureTraces();
    std::atomic<int> finished{0};
    HANDLE gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    unsigned id = 0;
    int index = 0;
    {
        StepCounter w(gate, &finished);
        index = w.Index();
        ASSERT_EQ(1, w.Start());
        // Stop while the long step runs: it waits about a second and leaves the body running.
        ASSERT_TRUE(WaitUntil([&] { return w.steps.load() == 1; }, 3000)) << "no step within 3 s";
        id = ThreadIdFromRunningTrace(index);
        DWORD t0 = GetTickCount();
        w.Stop();
        DWORD took = GetTickCount() - t0;
        EXPECT_GE(took, 900u);
        EXPECT_LT(took, TestTimeLimit(2400));
        EXPECT_EQ(1, CountTraces(EndTrace(w, id, 1))) << JoinedTraces();
        // A Start meanwhile starts nothing beside the old body, and waits for it no longer than Stop.
        t0 = GetTickCount();
        EXPECT_EQ(0, w.Start());
        took = GetTickCount() - t0;
        EXPECT_GE(took, 900u);
        EXPECT_LT(took, TestTimeLimit(2400));
        EXPECT_EQ(0, finished.load()) << "the step should still have been running";
        EXPECT_EQ(0, w.IsStarted());
        SetEvent(gate);
    }
    // Destruction waited for the body: its step finished while the object still stood.
    EXPECT_EQ(1, finished.load());
    CloseHandle(gate);
}
