// Only in a thread checker build, and only for the server program: a stop
// that reaches its time bound ends the process without joining the scanner
// threads still busy. They end with the process by design, so the checker
// is told not to report them as leaked threads. Test programs that run a
// scanner in process get no such pass.
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions()
{
    return "thread:Scanner::start\n"
           "thread:Scanner::start_request_thread\n";
}
#endif
