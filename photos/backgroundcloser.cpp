#include "photos/backgroundcloser.h"

#include <QFile>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace
{

class Closer
{
public:
    ~Closer()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

    void add(int handle)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
        m_handles.push_back(handle);
        m_wake.notify_all();
    }

    void drain()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_idle.wait(lock, [this] { return m_handles.empty() && !m_busy; });
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_stopping || !m_handles.empty(); });
            if (m_handles.empty())
                return;
            const int handle = m_handles.front();
            m_handles.pop_front();
            m_busy = true;
            lock.unlock();
#ifdef Q_OS_LINUX
            ::close(handle);
#else
            Q_UNUSED(handle);
#endif
            lock.lock();
            m_busy = false;
            m_idle.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<int> m_handles;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

Closer& closer()
{
    static Closer instance;
    return instance;
}

} // namespace

void BackgroundCloser::close(QFile& file)
{
#ifdef Q_OS_LINUX
    // Not inherited by programs started meanwhile.
    const int handle = file.isOpen() ? ::fcntl(file.handle(), F_DUPFD_CLOEXEC, 0) : -1;
    if (handle >= 0)
        closer().add(handle);
#endif
    file.close();
}

void BackgroundCloser::drain()
{
    closer().drain();
}
