#!/usr/bin/env python3
"""Writes mail stores for the mail client stand-in: DIR/Account/<account>/<folder>/.../NNNN.eml, each file one
message in code page 932 with CR-LF line ends. The output depends on the arguments only.

    make_store.py --sample --out samples/store        the bundled sample store (about 40 messages)
    make_store.py --messages 50000 --out /tmp/corpus   a corpus of that many messages for benchmarks
                                                       (nested folders, one of them with more than 250 messages)
"""
import argparse
import base64
import datetime
import os
import random
import shutil
import sys

CRLF = "\r\n"

PEOPLE = {
    "taro": ("山田 太郎", "taro@example.jp"),
    "hanako": ("佐藤 花子", "hanako@example.jp"),
    "ichiro": ("鈴木 一郎", "ichiro.suzuki@example.co.jp"),
    "yuki": ("高橋 由紀", "yuki@example.ne.jp"),
    "kenji": ("田中 健二", "kenji.tanaka@example.co.jp"),
    "alice": ("Alice Walker", "alice@example.org"),
    "bob": ("Bob Stone", "bob.stone@example.com"),
    "list": ("Hyper Estraier Users", "users@lists.example.org"),
}

MAILERS = ["Edmax Ver2.86.2F", "Kitsune Mailer 3.02", "Hoshi Mail 1.4.0 (Windows)", "Tsubame 2.0.0.22",
           "Corvid Works Mail Gateway 0.9"]

JAPANESE_SENTENCES = [
    "いつもお世話になっております。", "先日の打ち合わせの件でご連絡いたします。", "資料を添付いたしましたのでご確認ください。",
    "来週の月曜日までにお返事をいただけますと幸いです。", "ご不明な点がございましたらお気軽にお問い合わせください。",
    "全文検索のインデックスを作り直したところ、検索がかなり速くなりました。", "会議室は三階の第二会議室を予約してあります。",
    "見積書の金額に誤りがありましたので、訂正版をお送りします。", "今年の夏は例年より暑くなるそうです。",
    "プロジェクトの進捗は予定どおりです。", "テスト環境でメールの取り込みを確認しました。", "ファイルサーバーの容量が残り少なくなっています。",
    "よろしくお願いいたします。", "表示が文字化けする場合はご連絡ください。", "～①②③　ソフト　表示　能力　予定",
]

ENGLISH_SENTENCES = [
    "Thanks for the quick reply.", "I have attached the minutes of yesterday's meeting.",
    "The index rebuild finished overnight without errors.", "Could you check whether the search results look right?",
    "Let me know if the new build works for you.", "The release is planned for the end of the month.",
    "I could not reproduce the crash on my machine.", "Please find the updated schedule below.",
]


def mime_words(text, charset):
    """An encoded word for a header (RFC 2047, B encoding)."""
    codec = {"ISO-2022-JP": "iso2022_jp", "Shift_JIS": "cp932", "UTF-8": "utf-8"}[charset]
    try:
        text.encode(codec)
    except UnicodeEncodeError:  # vendor characters such as ① exist in Shift_JIS only
        charset, codec = "Shift_JIS", "cp932"
    return f"=?{charset}?B?{base64.b64encode(text.encode(codec)).decode('ascii')}?="


def address(key, encode):
    name, mail = PEOPLE[key]
    if name.isascii():
        return f"{name} <{mail}>"
    return f"{mime_words(name, 'ISO-2022-JP') if encode else name} <{mail}>"


def subject_header(subject, style):
    if subject.isascii() or style == "raw":
        return subject
    if style == "sjis":
        return mime_words(subject, "Shift_JIS")
    if style == "utf8":
        return mime_words(subject, "UTF-8")
    return mime_words(subject, "ISO-2022-JP")


def message_text(number, when, sender, to, subject, body, cc=(), style="jis", mailer=0, headers_only=False,
                 domain="example.jp"):
    """One message: header fields, an empty line, the body (CR-LF line ends)."""
    lines = [
        f"Message-ID: <{when:%Y%m%d%H%M%S}.{number:05d}@{domain}>",
        f"Date: {when:%a, %d %b %Y %H:%M:%S} +0900",
        f"From: {address(sender, style != 'raw')}",
        "To: " + ", ".join(address(key, style != "raw") for key in to),
    ]
    if cc:
        lines.append("Cc: " + ", ".join(address(key, style != "raw") for key in cc))
    lines += [f"Subject: {subject_header(subject, style)}", f"X-Mailer: {MAILERS[mailer % len(MAILERS)]}",
              "MIME-Version: 1.0"]
    if headers_only:
        return CRLF.join(lines) + CRLF
    japanese = not (subject.isascii() and body.isascii())
    lines += [f"Content-Type: text/plain; charset={'Shift_JIS' if japanese else 'us-ascii'}",
              "Content-Transfer-Encoding: 8bit"]
    return CRLF.join(lines) + CRLF + CRLF + body.replace("\n", CRLF)


def write_message(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = text.encode("cp932") if isinstance(text, str) else text
    with open(path, "wb") as file:
        file.write(data)


# The sample store: (folder below Account, sender, recipients, cc, subject, body, subject style)
SAMPLE_MESSAGES = [
    ("taro/受信箱", "hanako", ["taro"], [], "打ち合わせの日程について",
     "山田さん\n\n来週の打ち合わせですが、水曜日の午後二時からでいかがでしょうか。\n会議室は三階を予約しておきます。\n\n佐藤\n", "jis"),
    ("taro/受信箱", "ichiro", ["taro"], ["hanako"], "見積書の送付",
     "山田様\n\nいつもお世話になっております。鈴木です。\nご依頼の見積書をお送りいたします。\n金額は税込みで１２３，４５０円です。\n\nよろしくお願いいたします。\n", "jis"),
    ("taro/受信箱", "alice", ["taro"], [], "Search index benchmark",
     "Hi Taro,\n\nThe benchmark finished: 50,000 messages in 4 minutes.\nThe database is 180 MB.\n\nAlice\n", "jis"),
    ("taro/受信箱", "yuki", ["taro"], [], "Re: 忘年会の出欠",
     "> 忘年会に参加されますか？\n\n参加します。二次会は欠席します。\n\n高橋\n", "sjis"),
    ("taro/受信箱", "kenji", ["taro"], [], "サーバー停止のお知らせ",
     "各位\n\n８月１５日（土）の２２時から翌２時まで、メールサーバーを停止します。\nご迷惑をおかけしますがご了承ください。\n\n情報システム部　田中\n", "raw"),
    ("taro/受信箱", "bob", ["taro"], ["alice"], "Re: Patch for the tokenizer",
     "Taro,\n\n> The tokenizer splits half-width katakana wrongly.\n\nConfirmed. The attached patch fixes it.\n\nBob\n", "jis"),
    ("taro/受信箱", "hanako", ["taro"], [], "ﾊﾝｶｸ ｶﾀｶﾅ ﾉ ﾃｽﾄ",
     "ｺﾉ ﾒｰﾙ ﾊ ﾊﾝｶｸ ｶﾀｶﾅ ﾃﾞ ｶｶﾚﾃｲﾏｽ｡\nｹﾝｻｸ ﾃﾞｷﾙｶ ｶｸﾆﾝ ｼﾃｸﾀﾞｻｲ｡\n", "sjis"),
    ("taro/受信箱", "ichiro", ["taro"], [], "機種依存文字のテスト ①②③",
     "丸数字：①②③④⑤\nローマ数字：ⅠⅡⅢ\n単位：㍉㌢㍍\n「ソ」「表」「能」など、二バイト目が＼の文字も含みます。\n", "sjis"),
    ("taro/受信箱", "alice", ["taro"], [], "Weekly report (week 32)",
     "Done:\n- folder walk\n- purge of deleted messages\n\nNext:\n- progress dialog\n", "jis"),
    ("taro/受信箱", "yuki", ["taro"], [], "写真を送ります", "", "jis"),  # header lines only, see below
    ("taro/送信済み", "taro", ["hanako"], [], "Re: 打ち合わせの日程について",
     "佐藤さん\n\n水曜日の午後二時で大丈夫です。\n\n> 来週の打ち合わせですが、水曜日の午後二時からでいかがでしょうか。\n\n山田\n", "jis"),
    ("taro/送信済み", "taro", ["ichiro"], [], "Re: 見積書の送付",
     "鈴木様\n\n見積書を確かに受け取りました。社内で検討のうえ、来週中にご連絡いたします。\n\n山田\n", "jis"),
    ("taro/送信済み", "taro", ["alice", "bob"], [], "Index size",
     "Alice, Bob,\n\nWith ESTDBLARGE the index grows by about 3.6 KB per message.\n\nTaro\n", "jis"),
    ("taro/送信済み", "taro", ["yuki"], [], "忘年会の出欠", "高橋さん\n\n忘年会に参加されますか？\n\n山田\n", "utf8"),
    ("taro/仕事", "kenji", ["taro"], [], "業務連絡", "山田さん\n\n月次報告の提出期限は毎月五日です。\n\n田中\n", "jis"),
    ("taro/仕事", "ichiro", ["taro"], ["kenji"], "契約書の確認",
     "契約書の第三条と第七条について確認をお願いします。\n特に支払い条件をご確認ください。\n", "jis"),
    ("taro/仕事/プロジェクト", "hanako", ["taro"], ["kenji"], "【プロジェクト】キックオフ資料",
     "キックオフ会議の資料を共有フォルダに置きました。\n\\\\fileserver\\project\\kickoff\\資料.ppt\n", "jis"),
    ("taro/仕事/プロジェクト", "kenji", ["taro", "hanako"], [], "【プロジェクト】進捗報告 第１週",
     "今週の進捗です。\n・要件定義：完了\n・基本設計：５０％\n・詳細設計：未着手\n", "jis"),
    ("taro/仕事/プロジェクト", "bob", ["taro"], [], "Design review comments",
     "1. The fiber switch should happen after every 100 messages.\n2. The abort flag is tested after each message.\n", "jis"),
    ("taro/仕事/プロジェクト", "taro", ["kenji"], [], "Re: 【プロジェクト】進捗報告 第１週",
     "田中さん\n\n了解しました。基本設計のレビューは金曜日に行いましょう。\n\n山田\n", "raw"),
    ("taro/仕事/プロジェクト/設計", "kenji", ["taro"], [], "基本設計書 v0.3",
     "基本設計書の第０.３版です。\n変更点：データベースの章を追加しました。\n", "jis"),
    ("taro/仕事/プロジェクト/設計", "alice", ["taro"], [], "Schema of the document attributes",
     "@uri, @title, @author, @cdate, @mdate and the custom attributes from the header fields.\n", "jis"),
    ("taro/仕事/ソフト開発", "kenji", ["taro"], [], "表示の不具合について",
     "「ソ」「表」「能」のように二バイト目が 0x5C の文字を含むフォルダー名でも動くか確認してください。\n", "jis"),
    ("taro/仕事/ソフト開発", "bob", ["taro"], [], "Build 0.001-test",
     "The test build is on the file server. Please try indexing the folder \"ソフト開発\".\n", "sjis"),
    ("taro/Archive (2009)", "bob", ["taro"], [], "Conference in Tokyo",
     "Hi Taro,\n\nI will be in Tokyo from August 20 to 24. Shall we meet?\n\nBob\n", "jis"),
    ("taro/Archive (2009)", "yuki", ["taro"], [], "年賀状の住所確認",
     "新しい住所は以下のとおりです。\n〒100-0001 東京都千代田区千代田１－１\n", "jis"),
    ("taro/Archive (2009)", "ichiro", ["taro"], [], "【再送】資料の件",
     "先日お送りした資料が届いていないようでしたので再送いたします。\n", "sjis"),
    ("hanako/受信箱", "taro", ["hanako"], [], "Re: Re: 打ち合わせの日程について",
     "佐藤さん\n\n会議室の予約ありがとうございます。\n\n山田\n", "jis"),
    ("hanako/受信箱", "yuki", ["hanako"], [], "ランチのお誘い",
     "花子さん\n\n明日のランチ、駅前の新しいお店に行きませんか？\n\n由紀\n", "jis"),
    ("hanako/受信箱", "list", ["hanako"], [], "[estraier-users 1203] How to search by attribute",
     "Use est_cond_add_attr with an expression such as \"@title STRINC mail\".\n", "jis"),
    ("hanako/受信箱", "list", ["hanako"], [], "[estraier-users 1204] Re: How to search by attribute",
     "> Use est_cond_add_attr with an expression such as \"@title STRINC mail\".\n\nThanks, that works.\n", "jis"),
    ("hanako/受信箱", "kenji", ["hanako"], [], "経費精算について",
     "今月の経費精算は２５日締めです。\n領収書を忘れずに添付してください。\n", "raw"),
    ("hanako/受信箱/家族", "taro", ["hanako"], [], "週末の予定", "土曜日は実家に行きます。日曜日は空いています。\n", "jis"),
    ("hanako/受信箱/家族", "yuki", ["hanako"], [], "お土産ありがとう", "京都のお土産、とてもおいしかったです。\n", "jis"),
    ("hanako/送信済み", "hanako", ["taro"], [], "打ち合わせの日程について",
     "山田さん\n\n来週の打ち合わせですが、水曜日の午後二時からでいかがでしょうか。\n\n佐藤\n", "jis"),
    ("hanako/送信済み", "hanako", ["yuki"], [], "Re: ランチのお誘い", "行きます！十二時に駅前で。\n", "sjis"),
    ("hanako/Mailing Lists", "list", ["hanako"], [], "[estraier-users 1198] Index corruption after crash",
     "After a power failure est_db_open reports a broken database.\nest_db_repair fixed it.\n", "jis"),
    ("hanako/Mailing Lists", "list", ["hanako"], [], "[estraier-users 1199] 日本語の検索について",
     "N-gram の索引なので、二文字の語でも検索できます。\n", "jis"),
    ("hanako/Mailing Lists", "list", ["hanako"], [], "[estraier-users 1200] Release 1.4.13",
     "Hyper Estraier 1.4.13 has been released. It fixes a memory leak in the node server.\n", "jis"),
]


def write_sample(out):
    start = datetime.datetime(2009, 8, 1, 9, 0, 0)
    counters = {}
    for number, (folder, sender, to, cc, subject, body, style) in enumerate(SAMPLE_MESSAGES, 1):
        counters[folder] = counters.get(folder, 0) + 1
        when = start + datetime.timedelta(hours=7 * number, minutes=13 * number)
        text = message_text(number, when, sender, to, subject, body, cc, style, mailer=number,
                            headers_only=not body)
        write_message(os.path.join(out, "Account", *folder.split("/"), f"{counters[folder]:04d}.eml"), text)
    # An empty file, and a folder without messages.
    write_message(os.path.join(out, "Account", "taro", "受信箱", f"{counters['taro/受信箱'] + 1:04d}.eml"), b"")
    os.makedirs(os.path.join(out, "Account", "taro", "ゴミ箱"), exist_ok=True)
    with open(os.path.join(out, "Account", "taro", "ゴミ箱", ".keep"), "wb"):
        pass  # keeps the empty folder in the repository; not a message


CORPUS_FOLDERS = ["taro/受信箱", "taro/受信箱/2008", "taro/受信箱/2009", "taro/送信済み", "taro/仕事",
                  "taro/仕事/プロジェクト", "taro/仕事/プロジェクト/設計", "taro/仕事/プロジェクト/試験",
                  "taro/Archive (2009)", "hanako/受信箱", "hanako/Mailing Lists", "hanako/Mailing Lists/dev",
                  "hanako/送信済み"]


def corpus_body(rng, japanese):
    sentences = JAPANESE_SENTENCES if japanese else ENGLISH_SENTENCES
    paragraphs = []
    for _ in range(rng.randint(1, 12)):
        paragraphs.append(("" if japanese else " ").join(rng.choice(sentences) for _ in range(rng.randint(1, 6))))
    if rng.random() < 0.2:
        paragraphs.append("\n".join("> " + rng.choice(sentences) for _ in range(rng.randint(2, 8))))
    return "\n\n".join(paragraphs) + "\n"


def write_corpus(out, count, seed):
    rng = random.Random(seed)
    # The first folder holds a third of the messages, and never fewer than 260 when there are that many.
    big = min(count, max(count // 3, 260))
    folders = [CORPUS_FOLDERS[0]] * big + [CORPUS_FOLDERS[1 + i % (len(CORPUS_FOLDERS) - 1)]
                                           for i in range(count - big)]
    counters = {}
    start = datetime.datetime(2008, 1, 1, 0, 0, 0)
    people = list(PEOPLE)
    styles = ["jis", "jis", "sjis", "utf8", "raw"]
    for number, folder in enumerate(folders, 1):
        counters[folder] = counters.get(folder, 0) + 1
        japanese = rng.random() < 0.7
        sender, recipient = rng.sample(people, 2)
        subject_sentences = JAPANESE_SENTENCES if japanese else ENGLISH_SENTENCES
        subject = rng.choice(subject_sentences).rstrip("。.")[:30] + f" ({number})"
        when = start + datetime.timedelta(minutes=17 * number + rng.randint(0, 16))
        text = message_text(number, when, sender, [recipient], subject, corpus_body(rng, japanese),
                            style=rng.choice(styles), mailer=rng.randrange(len(MAILERS)))
        write_message(os.path.join(out, "Account", *folder.split("/"), f"{counters[folder]:05d}.eml"), text)
    for folder in CORPUS_FOLDERS:  # folders that got no message still exist
        os.makedirs(os.path.join(out, "Account", *folder.split("/")), exist_ok=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    kind = parser.add_mutually_exclusive_group(required=True)
    kind.add_argument("--sample", action="store_true", help="the bundled sample store")
    kind.add_argument("--messages", type=int, metavar="N", help="a generated corpus of N messages")
    parser.add_argument("--out", required=True, help="the store folder to write (replaced when it exists)")
    parser.add_argument("--seed", type=int, default=2009, help="seed of a generated corpus")
    args = parser.parse_args()
    if args.messages is not None and args.messages < 0:
        parser.error("--messages must not be negative")
    if os.path.exists(args.out):
        if not os.path.isdir(os.path.join(args.out, "Account")) and os.listdir(args.out):
            parser.error(f"{args.out} exists and is no mail store; not replacing it")
        shutil.rmtree(args.out)
    os.makedirs(os.path.join(args.out, "Account"))
    if args.sample:
        write_sample(args.out)
    else:
        write_corpus(args.out, args.messages, args.seed)
    return 0


if __name__ == "__main__":
    sys.exit(main())
