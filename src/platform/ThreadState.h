#pragma once
// The component's module data for one thread: what an apartment-threaded
// component keeps once per thread and shares among all its instances on that
// thread (on Windows, once per apartment: every thread of the multithreaded
// apartment shares one, as COM calls an object there on any of them). Here are the services in force; the layers above keep their parts
// (the document and schema caches, the parser, the COM objects' identities)
// with part<T>(). No thread sees another's data, which is why the component
// needs no locks: a DTM on a second apartment has caches, an event loop and a
// timer window of its own. Only the thread the data belongs to touches it.
//
// The data of a thread is made on first use. It ends when the thread ends
// (POSIX; the main thread's lives until the process ends) or with the last Hold on it: the COM server holds it for each of its
// objects, so that no window, timer or cache of an apartment outlives the
// objects that use it, and the server counts the threads whose data is alive
// before it lets the system unload it.

#include <memory>
#include <vector>

#include "Services.h"

namespace zeb2hart::platform {

class ThreadState {
public:
    // The calling thread's data, made (with systemServices()) on first use.
    static ThreadState& current();
    // The number of threads whose data is alive; safe from any thread.
    static long alive();

    Services& services() { return m_services; }

    // The thread's part of type T (default-constructed on first use). Parts end
    // before the services, in the reverse order of their making.
    template <class T>
    T& part()
    {
        for (const Part& made : m_parts) {
            if (made.key == &kPartKey<T>)
                return *static_cast<T*>(made.object.get());
        }
        auto object = std::make_shared<T>();
        T& result = *object;
        m_parts.push_back({&kPartKey<T>, std::move(object)});
        return result;
    }

    // Keeps the calling thread's data alive while it lives (as an installed
    // ScopedServices does); the last one ends it. Made and ended on that thread.
    class Hold {
    public:
        Hold();
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        ThreadState* m_state;
    };

    void addHold() { ++m_holds; }
    // The last hold ends the data, unless it is ending already or the hold is
    // let go on another thread (a client that broke the apartment's rules:
    // the data is left to its own thread rather than ended from here).
    void dropHold();

private:
    struct Part {
        const void* key;
        std::shared_ptr<void> object;
    };
    template <class T>
    static constexpr char kPartKey = 0;

    ThreadState();
    ~ThreadState();
    void endParts();
    ThreadState(const ThreadState&) = delete;
    ThreadState& operator=(const ThreadState&) = delete;
    // The calling thread's data, if any (posix/ and win32/ keep it).
    static ThreadState* stored();
    static void store(ThreadState* state);
    friend struct ThreadStateOwner;

    // The parts outlive the services: what a service holds may reach a part as it goes.
    std::vector<Part> m_parts;
    Services m_services;
    long m_holds = 0;
    bool m_ending = false;
};

} // namespace zeb2hart::platform
