// The process entry point; replaced by the real start-up sequence.
int main() { return 0; }
