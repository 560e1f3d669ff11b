// Document types (least form): every name is the Default type, no type is the macro language's, the default
// options (tab width 4, auto indent off) and output types left out of projects.
#include "doc/dta.h"

#include "doc/doc.h"

#include <gtest/gtest.h>

namespace {

TEST(Dta, EveryNameIsTheDefaultType) {
    EXPECT_EQ(DtaFindTypeForFile("C:\\src\\main.c"), DOC_TYPE_DEFAULT);
    EXPECT_EQ(DtaMacroTypeIndex(), -1);
    EXPECT_EQ(DtaTypeLanguage(4), 0);
    DtaOptions options;
    DtaGetOptions(DOC_TYPE_DEFAULT, &options);
    EXPECT_EQ(options.flags, 0x6E8408u);
    EXPECT_EQ(options.tabWidth, 4);
    EXPECT_EQ(options.margin, 80);
    EXPECT_FALSE(DtaTypeInProjects(DOC_TYPE_DEFAULT));
    EXPECT_FALSE(DtaTypeInProjects(DOC_TYPE_OUTPUT));
    EXPECT_FALSE(DtaTypeInProjects(DOC_TYPE_SEARCH_RESULTS));
}

} // namespace
