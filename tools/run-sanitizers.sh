#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs every test headless, then builds the tests that run
# worker threads with ThreadSanitizer into build-tsan/ and runs those. Every
# sanitizer halts on its first report; the script exits non-zero on any.
# Usage: tools/run-sanitizers.sh [asan|tsan]   (both when not told)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
WHICH="${1:-all}"
ASAN_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
TSAN_FLAGS="-fsanitize=thread -fno-omit-frame-pointer"
REPORT='ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:|WARNING: ThreadSanitizer'
export QT_QPA_PLATFORM=offscreen
started=$SECONDS

# CMake takes CXXFLAGS and LDFLAGS only when it creates a cache: one made with
# other flags is dropped, so the folder never mixes builds.
keepCacheFor() {
    local cache="$1/CMakeCache.txt"
    if [[ -f $cache ]] && ! grep -qxF "CMAKE_CXX_FLAGS:STRING=$2" "$cache"; then
        rm -f "$cache"
    fi
}

# ctest's verdict, and a report a test survived (a child process's, say)
# still counts.
runTests() {
    local dir="$1"
    shift
    local status=0
    (cd "$dir" && ctest --output-on-failure "$@") || status=$?
    if grep -qE "$REPORT" "$dir/Testing/Temporary/LastTest.log"; then
        echo "Sanitizer reports in $dir/Testing/Temporary/LastTest.log:"
        grep -nE "$REPORT" "$dir/Testing/Temporary/LastTest.log"
        status=1
    fi
    return $status
}

# The tests that start worker threads: the read-ahead, the cover loader and
# cache, and every test that adds files to the table (which reads them ahead).
threadedTests() {
    grep -lE 'QThreadPool|QtConcurrent|TagReadAhead|CoverLoader|getMediaList|emit .*passMediaList|addPaths\(|\.list\(|listAndShow\(' \
        "$ROOT"/tests/*/tst_*.cpp | xargs -n1 basename | sed 's/\.cpp$//'
}

# Debian's Qt is not built with ThreadSanitizer: the locks inside Qt are
# futexes TSan never sees, so everything our code hands over through Qt would
# be reported. Linked into each test, these wrappers stand in for the Qt calls
# our code makes, call the real ones and tell TSan what they order: a QMutex
# and a QWaitCondition, a thread pool task after its start() and before
# waitForDone(), and a call queued to another thread after it was queued.
# Prints the object to link; named by its source, so a change relinks.
qtLocksForTsan() {
    local source="$1/qtlocks-tsan.cpp"
    mkdir -p "$1"
    cat > "$source" <<'CPP'
#include <QDeadlineTimer>
#include <QMutex>
#include <QObject>
#include <QThreadPool>
#include <QWaitCondition>

#include <dlfcn.h>

#include <functional>

extern "C" void __tsan_acquire(void *address);
extern "C" void __tsan_release(void *address);

namespace {
template <typename Function>
Function real(const char *symbol)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, symbol));
}

// A queued call as Qt runs or drops it, after what was done before queueing.
class OrderedSlot : public QtPrivate::QSlotObjectBase
{
public:
    explicit OrderedSlot(QtPrivate::QSlotObjectBase *inner)
        : QSlotObjectBase(&impl)
        , m_inner(inner)
    {
        __tsan_release(this);
    }

private:
    static void impl(int which, QSlotObjectBase *base, QObject *receiver, void **args, bool *ret)
    {
        auto *self = static_cast<OrderedSlot *>(base);
        __tsan_acquire(self);
        switch (which) {
        case Destroy:
            self->m_inner->destroyIfLastRef();
            delete self;
            break;
        case Call:
            self->m_inner->call(receiver, args);
            break;
        case Compare:
            *ret = self->m_inner->compare(args);
            break;
        default:
            break;
        }
    }

    QtPrivate::QSlotObjectBase *m_inner;
};
} // namespace

void QMutex::lock() QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto qtLock = real<void (*)(QMutex *)>("_ZN6QMutex4lockEv");
    qtLock(this);
    __tsan_acquire(this);
}

bool QMutex::tryLock(int timeout) QT_MUTEX_LOCK_NOEXCEPT
{
    static const auto qtTryLock = real<bool (*)(QMutex *, int)>("_ZN6QMutex7tryLockEi");
    const bool locked = qtTryLock(this, timeout);
    if (locked)
        __tsan_acquire(this);
    return locked;
}

void QMutex::unlock() noexcept
{
    static const auto qtUnlock = real<void (*)(QMutex *)>("_ZN6QMutex6unlockEv");
    __tsan_release(this);
    qtUnlock(this);
}

// Waiting lets go of the mutex and takes it back.
bool QWaitCondition::wait(QMutex *mutex, QDeadlineTimer deadline)
{
    static const auto qtWait = real<bool (*)(QWaitCondition *, QMutex *, QDeadlineTimer)>(
        "_ZN14QWaitCondition4waitEP6QMutex14QDeadlineTimer");
    __tsan_release(mutex);
    const bool woken = qtWait(this, mutex, deadline);
    __tsan_acquire(mutex);
    return woken;
}

bool QWaitCondition::wait(QMutex *mutex, unsigned long time)
{
    static const auto qtWait = real<bool (*)(QWaitCondition *, QMutex *, unsigned long)>(
        "_ZN14QWaitCondition4waitEP6QMutexm");
    __tsan_release(mutex);
    const bool woken = qtWait(this, mutex, time);
    __tsan_acquire(mutex);
    return woken;
}

// A pool's tasks start after start() and end before waitForDone() returns.
void QThreadPool::start(std::function<void()> task, int priority)
{
    static const auto qtStart = real<void (*)(QThreadPool *, std::function<void()>, int)>(
        "_ZN11QThreadPool5startESt8functionIFvvEEi");
    char *const started = reinterpret_cast<char *>(this);
    char *const done = started + 1;
    std::function<void()> ordered = [started, done, task = std::move(task)] {
        __tsan_acquire(started);
        task();
        __tsan_release(done);
    };
    __tsan_release(started);
    qtStart(this, std::move(ordered), priority);
}

bool QThreadPool::waitForDone(int msecs)
{
    static const auto qtWaitForDone = real<bool (*)(QThreadPool *, int)>("_ZN11QThreadPool11waitForDoneEi");
    const bool done = qtWaitForDone(this, msecs);
    __tsan_acquire(reinterpret_cast<char *>(this) + 1);
    return done;
}

bool QMetaObject::invokeMethodImpl(QObject *object, QtPrivate::QSlotObjectBase *slot, Qt::ConnectionType type,
                                   void *ret)
{
    static const auto qtInvoke = real<bool (*)(QObject *, QtPrivate::QSlotObjectBase *, Qt::ConnectionType, void *)>(
        "_ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14ConnectionTypeEPv");
    return qtInvoke(object, new OrderedSlot(slot), type, ret);
}
CPP
    local object
    object="$1/qtlocks-tsan-$(sha1sum < "$source" | cut -c1-12).o"
    if [[ ! -f $object ]]; then
        rm -f "$1"/qtlocks-tsan-*.o
        # shellcheck disable=SC2046
        c++ -std=c++17 -fPIC -O2 $(pkg-config --cflags Qt5Core) -c "$source" -o "$object"
    fi
    echo "$object"
}

if [[ $WHICH == all || $WHICH == asan ]]; then
    keepCacheFor "$ROOT/build-asan" "$ASAN_FLAGS"
    # setup.sh installs what is missing, configures and builds.
    EXTRA_PACKAGES="python3-mutagen openssl" SONVEL_BUILD_DIR="$ROOT/build-asan" \
        CXXFLAGS="$ASAN_FLAGS" LDFLAGS="$ASAN_FLAGS" source "$ROOT/tools/setup.sh"
    # Full allocation stacks (Qt has no frame pointers) for the suppressions
    # to match Qt's own leaks by where Qt made them.
    export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:fast_unwind_on_malloc=0
    export LSAN_OPTIONS="suppressions=$ROOT/tools/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    runTests "$ROOT/build-asan"
    unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
    echo "ASan and UBSan: clean ($((SECONDS - started)) s so far)"
fi

if [[ $WHICH == all || $WHICH == tsan ]]; then
    # Installs what is missing the same way when run on its own.
    if [[ $WHICH == tsan ]]; then
        EXTRA_PACKAGES="python3-mutagen openssl" source <(sed -e '/^ROOT=/d' -e '/^cmake /d' "$ROOT/tools/setup.sh")
    fi
    mapfile -t tests < <(threadedTests)
    keepCacheFor "$ROOT/build-tsan" "$TSAN_FLAGS"
    locks="$(qtLocksForTsan "$ROOT/build-tsan")"
    cmake -S "$ROOT" -B "$ROOT/build-tsan" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_FLAGS="$TSAN_FLAGS" -DCMAKE_EXE_LINKER_FLAGS="$TSAN_FLAGS $locks"
    cmake --build "$ROOT/build-tsan" -j2 --target "${tests[@]}"
    export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$ROOT/tools/tsan.supp"
    runTests "$ROOT/build-tsan" -R "^($(IFS='|'; echo "${tests[*]}"))\$"
    echo "TSan (${#tests[@]} tests): clean"
fi

echo "Sanitizers found nothing in $((SECONDS - started)) s."
