// Lock rules the compiler checks: clang's thread-safety attributes under
// short names. A member says which lock guards it (GUARDED_BY), a function
// which locks it needs held (REQUIRES) or must not hold (EXCLUDES). Other
// compilers see nothing; `make check-thread-safety` builds the native tree
// with clang -Wthread-safety -Werror.
#pragma once

#if defined(__clang__)
#define QR_THREAD_ATTRIBUTE(x) __attribute__((x))
#else
#define QR_THREAD_ATTRIBUTE(x)
#endif

#define CAPABILITY(x) QR_THREAD_ATTRIBUTE(capability(x))
#define SCOPED_CAPABILITY QR_THREAD_ATTRIBUTE(scoped_lockable)
#define GUARDED_BY(x) QR_THREAD_ATTRIBUTE(guarded_by(x))
#define PT_GUARDED_BY(x) QR_THREAD_ATTRIBUTE(pt_guarded_by(x))
#define ACQUIRED_BEFORE(...) QR_THREAD_ATTRIBUTE(acquired_before(__VA_ARGS__))
#define ACQUIRED_AFTER(...) QR_THREAD_ATTRIBUTE(acquired_after(__VA_ARGS__))
#define REQUIRES(...) QR_THREAD_ATTRIBUTE(requires_capability(__VA_ARGS__))
#define REQUIRES_SHARED(...) QR_THREAD_ATTRIBUTE(requires_shared_capability(__VA_ARGS__))
#define ACQUIRE(...) QR_THREAD_ATTRIBUTE(acquire_capability(__VA_ARGS__))
#define ACQUIRE_SHARED(...) QR_THREAD_ATTRIBUTE(acquire_shared_capability(__VA_ARGS__))
#define RELEASE(...) QR_THREAD_ATTRIBUTE(release_capability(__VA_ARGS__))
#define RELEASE_SHARED(...) QR_THREAD_ATTRIBUTE(release_shared_capability(__VA_ARGS__))
#define TRY_ACQUIRE(...) QR_THREAD_ATTRIBUTE(try_acquire_capability(__VA_ARGS__))
#define EXCLUDES(...) QR_THREAD_ATTRIBUTE(locks_excluded(__VA_ARGS__))
#define ASSERT_CAPABILITY(x) QR_THREAD_ATTRIBUTE(assert_capability(x))
#define RETURN_CAPABILITY(x) QR_THREAD_ATTRIBUTE(lock_returned(x))
#define NO_THREAD_SAFETY_ANALYSIS QR_THREAD_ATTRIBUTE(no_thread_safety_analysis)
