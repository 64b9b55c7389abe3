// A document written from parts (a frame, a body and what is put into it) must come out as the document made whole
// would; a deferred document is built when first used, and not after a load or Clear.
#include <gtest/gtest.h>

#include "GlossmillXml.h"

using namespace GlossmillXml;

namespace {

// A body with layout of its own: attributes on lines of their own, single quotes, both forms of empty tags, CR LF.
const char BodyXml[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!-- body -->\r\n"
                       "<resources xmlns:a=\"urn:a\"\r\n    xmlns:b='urn:b'>\r\n"
                       "    <string name=\"one\">One</string>\r\n"
                       "    <string\r\n        name='two'>Two</string>\r\n"
                       "    <string name=\"three\"></string>\r\n"
                       "    <string name=\"four\"/>\r\n"
                       "    <plurals name=\"p\"><item quantity=\"one\">x</item></plurals>\r\n"
                       "    <string name=\"five\">Five</string>\r\n"
                       "    <string name=\"six\">Six</string>\r\n"
                       "</resources>\r\n<!-- after -->\r\n";

pugi::xml_node Named(const TXmlDocument &Doc, const char *Name)
{
    const pugi::xml_node root = Doc.Root();
    for (pugi::xml_node n = root; n; n = NextNode(n, root))
        if (n.attribute("name") && std::strcmp(n.attribute("name").value(), Name) == 0)
            return n;
    return pugi::xml_node();
}

} // namespace

TEST(XmlParts, AreWrittenAsTheWholeWouldBe)
{
    TXmlDocument body, frame, source;
    body.LoadFromBytes(BodyXml);
    source.LoadFromBytes("<r><plurals name='p'>\n  <item quantity=\"one\" >y</item>\n</plurals><t>Eins<b>!</b></t></r>");

    // The frame: the body's prolog and root, one more comment and one more root attribute.
    frame.AssignFrame(body);
    frame.AddPrologComment("states");
    frame.Root().append_attribute("xmlns:c") = "urn:c";
    pugi::xml_node holder = frame.Root().append_child("content");
    holder.append_copy(source.Root().child("t").first_child());
    holder.append_copy(source.Root().child("t").last_child());
    const pugi::xml_node emptied = frame.Root().append_child("content");
    const pugi::xml_node plurals = frame.AppendCopy(frame.Root(), source, source.Root().child("plurals"));

    TXmlDocument::TParts parts;
    parts.Body = &body;
    parts.Contents = {{Named(body, "one"), holder}, {Named(body, "three"), emptied}};
    parts.Texts = {{Named(body, "two"), "Zwei & mehr", false}, {Named(body, "four"), "<Vier>", true},
                   {Named(body, "six"), "", false}};
    parts.Replacements = {{Named(body, "p"), plurals}};
    parts.LeftOut = WithTheirLines({Named(body, "five")});

    // The same made whole by hand.
    TXmlDocument whole;
    whole.Assign(body);
    whole.AddPrologComment("states");
    whole.Root().append_attribute("xmlns:c") = "urn:c";
    pugi::xml_node one = Named(whole, "one");
    one.remove_children();
    one.append_copy(source.Root().child("t").first_child());
    one.append_copy(source.Root().child("t").last_child());
    Named(whole, "two").first_child().set_value("Zwei & mehr");
    Named(whole, "three").append_child(pugi::node_pcdata).set_value("");
    Named(whole, "three").remove_children();
    Named(whole, "four").append_child(pugi::node_cdata).set_value("<Vier>");
    Named(whole, "six").remove_children();
    whole.ReplaceWithCopy(Named(whole, "p"), source, source.Root().child("plurals"));
    const TXmlDocument::TOmitSet omit = OmitWithTheirLines({Named(whole, "five")});

    const QByteArray expected = whole.SaveToBytes(&omit);
    EXPECT_EQ(frame.SaveToBytes(nullptr, &parts).toStdString(), expected.toStdString());
    EXPECT_TRUE(expected.contains("<string name=\"three\"></string>")); // the body's own empty-tag form
    EXPECT_TRUE(expected.contains("<plurals name='p'>\r\n  <item quantity=\"one\">y</item>\r\n</plurals>")); // the source's layout
    EXPECT_FALSE(expected.contains("five"));
    EXPECT_TRUE(expected.contains("<string name=\"six\"/>")); // the usual empty-tag form of the body
}

TEST(XmlParts, CounterpartsAreFoundInACopy)
{
    TXmlDocument body, copy;
    body.LoadFromBytes(BodyXml);
    copy.Assign(body);
    std::vector<pugi::xml_node> nodes = {Named(body, "two"), Named(body, "p").first_child(), Named(body, "five"),
                                         Named(copy, "one")};
    MapCounterparts(body.Document(), copy.Document(), nodes);
    EXPECT_EQ(nodes[0], Named(copy, "two"));
    EXPECT_EQ(nodes[1], Named(copy, "p").first_child());
    EXPECT_EQ(nodes[2], Named(copy, "five"));
    EXPECT_FALSE(nodes[3]); // not a node of the body
}

TEST(XmlParts, ADeferredDocumentIsBuiltWhenFirstUsed)
{
    int builds = 0;
    TXmlDocument doc;
    doc.Defer([&builds](TXmlDocument &Doc) {
        ++builds;
        Doc.LoadFromBytes("<r><a/></r>");
    });
    EXPECT_TRUE(doc.Deferred());
    EXPECT_EQ(builds, 0);
    EXPECT_EQ(doc.SaveToString(), QString("<r><a/></r>"));
    EXPECT_TRUE(doc.Root());
    EXPECT_EQ(builds, 1);
    EXPECT_FALSE(doc.Deferred());

    // A load or Clear takes the place of what was deferred.
    doc.Defer([&builds](TXmlDocument &) { ++builds; });
    doc.LoadFromBytes("<s/>");
    EXPECT_EQ(doc.SaveToString(), QString("<s/>"));
    doc.Defer([&builds](TXmlDocument &) { ++builds; });
    doc.Clear();
    EXPECT_FALSE(doc.Root());
    EXPECT_EQ(builds, 1);
}
