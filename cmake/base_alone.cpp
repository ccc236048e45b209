// Linked with every object of frosten_base and nothing else (see the root
// CMakeLists.txt): it exists to fail to link when a base file reaches up.
int main() { return 0; }
