// Built into every executable of a sanitizer build. ASAN_OPTIONS given in
// the environment still override these.
//
// intercept_tls_get_addr=0: the leak checker's tracer otherwise follows
// dynamic TLS blocks of dlopen'ed libraries (Mesa's driver) through a
// guessed glibc header; a block that lands on the guessed offset by chance
// sends it through a bogus range and the check dies with "Tracer caught
// signal 11" at exit, a failure without any leak.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
