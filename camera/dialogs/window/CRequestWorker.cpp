#include "camera/dialogs/window/CRequestWorker.h"

CRequestWorker::CRequestWorker() : m_thread([this] { Run(); }) {}

CRequestWorker::~CRequestWorker()
{
    Stop();
}

bool CRequestWorker::Post(std::shared_ptr<RequestJob> job)
{
    if (!job || !job->call)
        return false;
    {
        std::lock_guard lock(m_mutex);
        if (m_stop)
            return false;
        m_queue.push_back(std::move(job));
    }
    m_wake.notify_one();
    return true;
}

void CRequestWorker::DropQueued()
{
    std::lock_guard lock(m_mutex);
    m_queue.clear();
}

bool CRequestWorker::Busy() const
{
    std::lock_guard lock(m_mutex);
    return m_running || !m_queue.empty();
}

void CRequestWorker::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_queue.clear();
    }
    m_wake.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void CRequestWorker::Run()
{
    for (;;) {
        std::shared_ptr<RequestJob> job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_stop)
                return;
            job = std::move(m_queue.front());
            m_queue.pop_front();
            m_running = true;
        }
        CString reply;
        BOOL called = job->call(reply);
        job->reply = reply;
        job->called = called;
        job->done = true;
        {
            std::lock_guard lock(m_mutex);
            m_running = false;
        }
        if (job->notify)
            ::PostMessage(job->notify, job->message, job->wParam, 0);
    }
}
