// Crashes at once, on purpose: the test session must let such a program
// end with its crash named instead of leaving it waiting in a crash dialog.
int main() {
  volatile int* nowhere = nullptr;
  *nowhere = 1;
  return 0;
}
