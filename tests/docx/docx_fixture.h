#pragma once

// Small .docx documents made in the test, and checks of what the builder
// writes.

#include "common/test_support.h"
#include "report/docx/document.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace veltron::test {

// Writes a package with the given body content (the inside of w:body) and
// returns its path; stylesXml, when given, becomes its word/styles.xml.
QString writeDocx(const QString& path, const QString& bodyXml, const QByteArray& stylesXml = {});

// word/document.xml of a saved .docx.
QByteArray documentPart(const QString& docxPath);

std::unique_ptr<pugi::xml_document> parseXml(const QByteArray& xml);

// Problems that would make Word repair the document: child order, table
// structure, unpaired or duplicated bookmarks. Empty when sound.
QStringList soundnessProblems(const QByteArray& documentXml);

// Text of every paragraph of the body, in document order, tables included.
QStringList paragraphTexts(const QByteArray& documentXml);

// The tables that a page break would spoil: a row that may be split
// between pages, or a first row that does not repeat on the next page.
// Each table named by the text of its first row; empty when every table
// reads well over pages.
QStringList tablesThatBreakBadly(const QByteArray& documentXml);

QString templatesDir();

}  // namespace veltron::test

namespace veltron::test {

// The office suite's converter, or empty when it is not installed.
QString officeProgram();
// Converts a document to PDF with LibreOffice headless, in a profile of its
// own; returns the PDF's path. Throws on failure.
QString convertToPdf(const QString& docxPath, const QString& outDir);
// The text of a PDF as pdftotext reads it.
QString pdfText(const QString& pdfPath);
// The number of images the PDF shows, as pdfimages lists them.
int pdfImageCount(const QString& pdfPath);
// The values a reader of the PDF text would not find whole: a value is
// found when each of its words stands in the text as a word of its own, on
// whatever line the layout put it. A number or word broken inside a table
// cell ("72" and "0" for "720") is not found.
QStringList notWhole(const QString& pdfText, const QStringList& values);

// Copies a produced file to $VELTRON_DOCX_KEEP, for looking at it by eye.
void keep(const QString& path);

// Tests that read documents back through LibreOffice; skipped where it is
// not installed.
class OfficeSuite : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (officeProgram().isEmpty())
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    }
    TempFolder folder;
};

}  // namespace veltron::test
