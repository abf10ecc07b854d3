// Scaffold entry: replaced by the start-up sequence.
int main() { return 0; }
