// Where POSIX keeps each thread's module data: a thread-specific value whose
// destructor ends the data with its thread. The main thread's data is not ended
// at exit, so that objects with static storage can still reach it as they go.

#include <pthread.h>

#include <stdexcept>

#include "platform/ThreadState.h"

namespace zeb2hart::platform {

struct ThreadStateOwner {
    static pthread_key_t key()
    {
        static const pthread_key_t made = [] {
            pthread_key_t created{};
            if (pthread_key_create(&created, &ThreadStateOwner::end) != 0)
                throw std::runtime_error("no thread-specific key is left for the component's data");
            return created;
        }();
        return made;
    }

    static void end(void* data)
    {
        // The data stays findable while it ends (see ~ThreadState).
        pthread_setspecific(key(), data);
        delete static_cast<ThreadState*>(data);
        pthread_setspecific(key(), nullptr);
    }
};

ThreadState* ThreadState::stored()
{
    return static_cast<ThreadState*>(pthread_getspecific(ThreadStateOwner::key()));
}

void ThreadState::store(ThreadState* state)
{
    pthread_setspecific(ThreadStateOwner::key(), state);
}

} // namespace zeb2hart::platform
