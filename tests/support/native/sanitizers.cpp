// The checkers' settings, built into every native test and fuzz program so that a run by hand checks as
// much as ctest and the scripts do: leaks, use after return, string reads past their ends, and every
// undefined-behaviour report stops the program with a failure.
// A block the heap cannot give comes back null, as the heap layer expects of the C library.
extern "C" const char *__asan_default_options() {
    return "detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:"
           "strict_string_checks=1:allocator_may_return_null=1";
}

extern "C" const char *__ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}
