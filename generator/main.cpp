// The program's entry: the runtime prepares the console and runs the generator's dialogue once.
#include "generator/generator.h"
#include "runtime/process.h"

int main(int argc, char** argv) {
  RunProcess(argc, argv, GeneratorMain);
}
