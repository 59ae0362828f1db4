// The mingw start-up links a TLS directory (tlssup.o) to run destructors of
// thread-local objects. Dravik runs one thread and has none; defining the
// symbols that tlssup.o would supply keeps it out of the link, and with it
// the image's TLS directory.
const void* __dyn_tls_init_callback = 0;
int __mingw_initltsdrot_force = 0;
int __mingw_initltsdyn_force = 0;
int __mingw_initltssuo_force = 0;
