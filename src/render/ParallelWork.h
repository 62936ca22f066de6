#pragma once

#include <QThread>

#include <atomic>
#include <thread>
#include <vector>

// Calls work(i) for every i in 0 .. count - 1, on as many threads as there are cores, each taking
// the next index in turn; returns when all are done. The work items must not share what they write.
template <typename Work> void forEachInParallel(int count, const Work& work) {
    std::atomic<int> next{0};
    const auto worker = [&]() {
        for (int i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < qMin(count, QThread::idealThreadCount()); ++t)
        helpers.emplace_back(worker);
    worker();
    for (std::thread& helper : helpers)
        helper.join();
}
