#include "cli/cli.h"

#include <QCoreApplication>

#include <iostream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return veltron::cli::runCli(QCoreApplication::arguments().mid(1), std::cout, std::cerr);
}
