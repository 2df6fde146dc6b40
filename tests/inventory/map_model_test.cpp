#include "ident.h"
#include "map_line.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> texts(const std::vector<OidPrefix>& p)
{
    std::vector<std::string> out;
    for (const OidPrefix& e : p) {
        out.push_back(e.text);
        EXPECT_EQ(e.subtree, !e.text.empty() && e.text.back() == '.') << e.text;
    }
    return out;
}

TEST(OidPrefixes, StopAtTheEnterpriseArc)
{
    struct Case {
        std::string oid, enterprise;
        bool under;
        std::vector<std::string> expected;
    } cases[] = {
        {"1.3.6.1.4.1.9.1.516", "9", true,
         {"1.3.6.1.4.1.9.1.516", "1.3.6.1.4.1.9.1.", "1.3.6.1.4.1.9.1", "1.3.6.1.4.1.9.",
          "1.3.6.1.4.1.9"}},
        // Enterprise numbers that also occur inside "1.3.6.1.4.1." must not let
        // the list reach above the enterprise arc.
        {"1.3.6.1.4.1.1.2", "1", true, {"1.3.6.1.4.1.1.2", "1.3.6.1.4.1.1.", "1.3.6.1.4.1.1"}},
        {"1.3.6.1.4.1.3.7.7", "3", true,
         {"1.3.6.1.4.1.3.7.7", "1.3.6.1.4.1.3.7.", "1.3.6.1.4.1.3.7", "1.3.6.1.4.1.3.",
          "1.3.6.1.4.1.3"}},
        {"1.3.6.1.4.1.4.1", "4", true, {"1.3.6.1.4.1.4.1", "1.3.6.1.4.1.4.", "1.3.6.1.4.1.4"}},
        {"1.3.6.1.4.1.6.1", "6", true, {"1.3.6.1.4.1.6.1", "1.3.6.1.4.1.6.", "1.3.6.1.4.1.6"}},
        {"1.3.6.1.4.1.9", "9", true, {"1.3.6.1.4.1.9"}},
        {".1.3.6.1.4.1.311.1", "311", true, {".1.3.6.1.4.1.311.1", ".1.3.6.1.4.1.311.", ".1.3.6.1.4.1.311"}},
        {"1.3.6.1.2.1.1", "", false, {"1.3.6.1.2.1.1"}},
    };
    for (const Case& c : cases) {
        std::string ent;
        std::vector<OidPrefix> list;
        EXPECT_EQ(build_oid_prefixes(c.oid, ent, list), c.under) << c.oid;
        EXPECT_EQ(ent, c.enterprise) << c.oid;
        EXPECT_EQ(texts(list), c.expected) << c.oid;
    }
}

TEST(OidPrefixes, LongOidIsBounded)
{
    std::string oid = "1.3.6.1.4.1.9";
    for (int i = 0; i < 80; ++i)
        oid += ".1";
    std::string ent;
    std::vector<OidPrefix> list;
    ASSERT_TRUE(build_oid_prefixes(oid, ent, list));
    EXPECT_EQ(list.size(), 1u + 2 * 50);
}

TEST(EnumSpec, FieldsAreTakenFromTheRight)
{
    struct Case {
        std::string cell, table, extra, key, name, kind;
    } cases[] = {
        {"IfTypes", "IfTypes", "", "uid", "name", "numeric"},
        {"IfTypes,text", "IfTypes", "", "uid", "name", "text"},
        {"IfTypes,label,numeric", "IfTypes", "", "uid", "label", "numeric"},
        {"Codes,code,label,string", "Codes", "", "code", "label", "string"},
        {"Codes,1.3.6.1.4.1.9,code,label,numeric", "Codes", "1.3.6.1.4.1.9", "code", "label", "numeric"},
        {"Codes,Field,code,label,text", "Codes", "Field", "code", "label", "text"},
        {" Codes , code , label , text ", "Codes", "", "code", "label", "text"},
        {"a,b,Codes,x,code,label,text", "a,b,Codes", "x", "code", "label", "text"},
    };
    for (const Case& c : cases) {
        EnumSpec s = parse_enum_spec(c.cell);
        EXPECT_EQ(s.table, c.table) << c.cell;
        EXPECT_EQ(s.extra, c.extra) << c.cell;
        EXPECT_EQ(s.key, c.key) << c.cell;
        EXPECT_EQ(s.name, c.name) << c.cell;
        EXPECT_EQ(s.kind, c.kind) << c.cell;
    }
    EXPECT_TRUE(parse_enum_spec("T,1.3.6,k,n,numeric").oid_form());
    EXPECT_TRUE(parse_enum_spec("T,Field,k,n,numeric").column_form());
    EXPECT_FALSE(parse_enum_spec("T,k,n,numeric").column_form());
    EXPECT_FALSE(parse_enum_spec("T,k,n,numeric").oid_form());
}

TEST(Formula, ParseAndText)
{
    struct Case {
        std::string text;
        std::vector<std::pair<int, int>> terms;  // (mark, value)
        std::string as_text;
    } cases[] = {
        {"12 or b3", {{0, 12}, {1, 3}}, "12B3"},
        {"B5 OR 7", {{1, 5}, {0, 7}}, "B57"},
        {"", {}, ""},
        {"OR 4 OROR", {{0, 4}}, "4"},
        {"x", {{0, 0}}, "0"},
        {"b 1 0", {{1, 10}}, "B10"},
    };
    for (const Case& c : cases) {
        FormulaList list;
        parse_formula(list, 2, c.text);
        ASSERT_EQ(list.size(), 1u) << c.text;
        const FormulaCell* cell = list.find(2);
        ASSERT_NE(cell, nullptr);
        ASSERT_EQ(static_cast<size_t>(cell->Count()), c.terms.size()) << c.text;
        for (size_t i = 0; i < c.terms.size(); ++i) {
            EXPECT_EQ((*cell)[i].mark, c.terms[i].first) << c.text;
            EXPECT_EQ((*cell)[i].value, c.terms[i].second) << c.text;
        }
        EXPECT_EQ(formula_text(list), c.as_text) << c.text;
    }
}

TEST(Formula, ReparseReplacesAndKeysKeepFirstUseOrder)
{
    FormulaList list;
    parse_formula(list, 1, "3");
    parse_formula(list, -1, "b2");
    parse_formula(list, 1, "4 or 5");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.begin()->key, 1);
    EXPECT_EQ(formula_text(list), "45B2");
}

TEST(SplitCommaList, Parts)
{
    struct Case {
        std::string text;
        std::vector<std::string> parts;
    } cases[] = {
        {"", {}},
        {"2,3", {"2", "3"}},
        {"a,,b", {"a", "", "b"}},
        {"a,b,", {"a", "b"}},
        {",", {""}},
        {"one", {"one"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> out{"kept"};
        split_comma_list(c.text, out);
        std::vector<std::string> expected{"kept"};
        expected.insert(expected.end(), c.parts.begin(), c.parts.end());
        EXPECT_EQ(out, expected) << c.text;
    }
}

TEST(MapLine, FreshAndCopy)
{
    MapLine fresh;
    EXPECT_EQ(fresh.get_index(), -1);
    EXPECT_EQ(fresh.value_flag, 0);
    EXPECT_EQ(fresh.Plugin, "std");
    EXPECT_EQ(fresh.ScanOrder, 0);
    EXPECT_TRUE(fresh.enum_specs.empty());

    MapLine a;
    a.values = {"f1", ""};
    a.set_index(12);
    a.name = "n";
    a.value_flag = 1;
    a.Plugin = "p";
    a.TableOID = ".1.3";
    a.ScanOrder = 4;
    a.enum_specs[1] = "T";
    MapLine b = a;
    a.values[0] = "changed";
    a.enum_specs[1] = "U";
    EXPECT_EQ(b.values, (std::vector<std::string>{"f1", ""}));
    EXPECT_EQ(b.get_index(), 12);
    EXPECT_EQ(b.get_name(), "n");
    EXPECT_EQ(b.value_flag, 1);
    EXPECT_EQ(b.Plugin, "p");
    EXPECT_EQ(b.TableOID, ".1.3");
    EXPECT_EQ(b.ScanOrder, 4);
    ASSERT_NE(b.enum_specs.find(1), nullptr);
    EXPECT_EQ(*b.enum_specs.find(1), "T");
}

TEST(MapLineFilter, AgentTypeByCategory)
{
    EXPECT_EQ(agent_type_of_category(0, 11, 12, 13), 11);
    EXPECT_EQ(agent_type_of_category(1, 11, 12, 13), 12);
    EXPECT_EQ(agent_type_of_category(2, 11, 12, 13), 13);
    EXPECT_EQ(agent_type_of_category(3, 11, 12, 13), -1);
    MapLineFilter f("SNMPWhat2Scan", "1.3.6.1.4.1.9.1.516", 1, 2, 9, 3);
    MapLineFilter g = f.with_table("MapInterfaces");
    EXPECT_EQ(g.table, "MapInterfaces");
    EXPECT_EQ(g.SysObjId, f.SysObjId);
    EXPECT_EQ(g.AgentType, 3);
    EXPECT_EQ(f.table, "SNMPWhat2Scan");
}

}  // namespace
